#include "platform/host.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {
Host* installedHost = nullptr;
}

void InstallHost(Host* host) { installedHost = host; }

Host& CurrentHost() {
  if (!installedHost) {
    std::fprintf(stderr, "quor: no host installed\n");
    std::abort();
  }
  return *installedHost;
}

bool HasHost() { return installedHost != nullptr; }

namespace {

bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// The byte at which the character numbered `column` (from 0) starts; the size when the
// line has no more characters than that.
size_t ByteAtColumn(const std::string& line, size_t column) {
  for (size_t i = 0; i < line.size(); ++i)
    if (StartsCharacter(line[i]) && column-- == 0) return i;
  return line.size();
}

// A mark that closes what stands right before it (a quote after a name, the full stop or
// question mark after the quote).
bool Closes(char c) { return c != '\0' && std::strchr("\".,:;?!)", c) != nullptr; }

bool Letter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// The start of the character before the byte at.
size_t CharacterBefore(const std::string& line, size_t at) {
  do --at;
  while (at > 0 && !StartsCharacter(line[at]));
  return at;
}

// Whether the byte at is a letter of a file name's extension (the "sav" of "x.sav"), which
// reads as the name's only when it stays whole beside its stem.
bool InExtension(const std::string& line, size_t at) {
  if (!Letter(line[at])) return false;
  size_t from = at, to = at;
  while (from > 0 && Letter(line[from - 1])) --from;
  while (to < line.size() && Letter(line[to])) ++to;
  return from >= 2 && line[from - 1] == '.' && line[from - 2] != ' ' && line[from - 2] != '/' &&
         (to == line.size() || line[to] == ' ' || Closes(line[to]));
}

// The byte a line beginning at the byte at is read from: the first that is not a blank (the
// last when only blanks are left).
size_t PastBlanks(const std::string& line, size_t at) {
  while (line[at] == ' ' && at + 1 < line.size()) ++at;
  return at;
}

// Whether the quote at the byte at opens what follows it: it stands after a blank, and past
// the marks after it (the dot that begins a hidden file's name) comes the text it quotes.
// Any other quote closes something, as one before a blank does, or a name's own last quote
// with the one after it ("a "").
bool OpensQuote(const std::string& line, size_t at) {
  if (line[at] != '"' || at == 0 || line[at - 1] != ' ') return false;
  size_t next = at + 1;
  while (next < line.size() && line[next] != '"' && Closes(line[next])) ++next;
  return next < line.size() && line[next] != ' ' && line[next] != '"';
}

// Whether a line beginning at the byte at starts, past any blanks, with a quote that closes
// something: a break the line never takes while it has another within the width.
bool BeginsWithClosingQuote(const std::string& line, size_t at) {
  at = PastBlanks(line, at);
  return line[at] == '"' && !OpensQuote(line, at);
}

// Whether a line may begin at the byte at: never with a closing quote, nor with another mark
// that closes what stands right before it, nor inside an extension.
bool CanBeginLine(const std::string& line, size_t at) {
  return at < line.size() && !InExtension(line, at) && !BeginsWithClosingQuote(line, at) &&
         (line[at] == '"' || !Closes(line[at]));
}

}  // namespace

std::string BreakIntoLines(const std::string& text, size_t columns) {
  if (columns == 0) return text;
  std::string out;
  size_t start = 0;
  for (;;) {
    size_t end = std::min(text.find('\n', start), text.size());
    std::string line = text.substr(start, end - start);
    for (size_t cut; (cut = ByteAtColumn(line, columns)) < line.size();) {
      // The last character at or before the cut before which the line may break as asked.
      auto latest = [&](auto may) {
        size_t before = cut;
        while (before > 0 && !may(before)) before = CharacterBefore(line, before);
        return before;
      };
      // At a blank where there is one (the break takes it), else after a slash (a long path
      // breaks between its folders), else inside a word; each only where the next line reads
      // well. Failing all of these, anywhere but before a closing quote.
      size_t at = latest([&](size_t i) { return line[i] == ' ' && CanBeginLine(line, i + 1); });
      const bool atBlank = at > 0;
      if (at == 0)
        at = latest([&](size_t i) { return line[i - 1] == '/' && CanBeginLine(line, i); });
      if (at == 0) at = latest([&](size_t i) { return CanBeginLine(line, i); });
      if (at == 0) at = latest([&](size_t i) { return !BeginsWithClosingQuote(line, i); });
      if (at == 0) at = cut;
      out += line.substr(0, at) + "\n";
      line.erase(0, atBlank ? at + 1 : at);
    }
    out += line;
    if (end == text.size()) return out;
    out += '\n';
    start = end + 1;
  }
}

}  // namespace platform
