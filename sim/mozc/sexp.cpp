#include "sim/mozc/sexp.h"

namespace {

constexpr int kMaxDepth = 64;

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDelimiter(char c) {
  return isBlank(c) || c == '(' || c == ')' || c == '"';
}

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  bool read(Sexp& out, int depth) {
    skipBlanks();
    if (pos_ >= text_.size() || depth > kMaxDepth) return false;
    const char c = text_[pos_];
    if (c == '(') return readList(out, depth);
    if (c == '"') return readString(out);
    if (c == ')') return false;
    out.kind = Sexp::Kind::kSymbol;
    while (pos_ < text_.size() && !isDelimiter(text_[pos_])) out.text += text_[pos_++];
    return true;
  }

  bool atEnd() {
    skipBlanks();
    return pos_ == text_.size();
  }

 private:
  void skipBlanks() {
    while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
  }

  bool readList(Sexp& out, int depth) {
    ++pos_;
    out.kind = Sexp::Kind::kList;
    for (;;) {
      skipBlanks();
      if (pos_ >= text_.size()) return false;
      if (text_[pos_] == ')') {
        ++pos_;
        return true;
      }
      Sexp item;
      if (!read(item, depth + 1)) return false;
      if (item.kind == Sexp::Kind::kSymbol && item.text == "." && !out.items.empty()) {
        // (a . tail): the tail's items continue the list, an atom is its last item.
        Sexp tail;
        if (!read(tail, depth + 1)) return false;
        skipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != ')') return false;
        ++pos_;
        if (tail.kind == Sexp::Kind::kList) {
          for (Sexp& tailItem : tail.items) out.items.push_back(std::move(tailItem));
        } else {
          out.items.push_back(std::move(tail));
        }
        return true;
      }
      out.items.push_back(std::move(item));
    }
  }

  bool readString(Sexp& out) {
    ++pos_;
    out.kind = Sexp::Kind::kString;
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (c == '"') return true;
      if (c == '\\') {
        if (pos_ >= text_.size()) return false;
        c = text_[pos_++];
      }
      out.text += c;
    }
    return false;
  }

  const std::string& text_;
  size_t pos_ = 0;
};

}  // namespace

bool parseSexp(const std::string& text, Sexp& out) {
  out = Sexp{};
  Reader reader(text);
  return reader.read(out, 0) && reader.atEnd();
}

const Sexp* sexpEntry(const Sexp& list, const std::string& key) {
  for (const Sexp& item : list.items) {
    if (item.kind == Sexp::Kind::kList && !item.items.empty() &&
        item.items[0].kind == Sexp::Kind::kSymbol && item.items[0].text == key) {
      return &item;
    }
  }
  return nullptr;
}

std::string sexpEntryText(const Sexp& list, const std::string& key) {
  const Sexp* entry = sexpEntry(list, key);
  if (entry == nullptr || entry->items.size() < 2 || entry->items[1].kind == Sexp::Kind::kList) {
    return "";
  }
  return entry->items[1].text;
}
