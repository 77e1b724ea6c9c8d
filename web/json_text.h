// A small writer of JSON text: what the page's module hands to the page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class JsonText {
 public:
  JsonText& beginObject();
  JsonText& endObject();
  JsonText& beginArray();
  JsonText& endArray();
  // The name of the next member of an object.
  JsonText& key(const char* name);
  JsonText& value(const std::string& text);
  JsonText& value(const char* text) { return value(std::string(text)); }
  JsonText& value(int64_t number);
  JsonText& value(bool flag);
  JsonText& strings(const std::vector<std::string>& texts);

  const std::string& text() const { return text_; }

 private:
  void separate();

  std::string text_;
  bool first_ = true;  // no value yet in the open object or array
};
