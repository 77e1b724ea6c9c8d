#include "web/json_text.h"

#include <cstdio>

void JsonText::separate() {
  if (!first_) text_ += ',';
  first_ = false;
}

JsonText& JsonText::beginObject() {
  separate();
  text_ += '{';
  first_ = true;
  return *this;
}

JsonText& JsonText::endObject() {
  text_ += '}';
  first_ = false;
  return *this;
}

JsonText& JsonText::beginArray() {
  separate();
  text_ += '[';
  first_ = true;
  return *this;
}

JsonText& JsonText::endArray() {
  text_ += ']';
  first_ = false;
  return *this;
}

JsonText& JsonText::key(const char* name) {
  value(name);
  text_ += ':';
  first_ = true;
  return *this;
}

JsonText& JsonText::value(const std::string& text) {
  separate();
  text_ += '"';
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      text_ += '\\';
      text_ += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      // Control bytes go as escapes; every other byte as it is.
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      text_ += escaped;
    } else {
      text_ += static_cast<char>(c);
    }
  }
  text_ += '"';
  return *this;
}

JsonText& JsonText::value(int64_t number) {
  separate();
  text_ += std::to_string(number);
  return *this;
}

JsonText& JsonText::value(bool flag) {
  separate();
  text_ += flag ? "true" : "false";
  return *this;
}

JsonText& JsonText::strings(const std::vector<std::string>& texts) {
  beginArray();
  for (const std::string& text : texts) value(text);
  return endArray();
}
