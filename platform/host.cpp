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

// Whether a line may begin at the byte at, the line before it ending at a blank (which the
// break takes) or not. It never begins with a mark that closes what stood before it, nor
// inside an extension; after a blank a quote may begin it only where it opens something, so
// a name's own last quote and the one that closes it ("a "") never do.
bool CanBeginLine(const std::string& line, size_t at, bool afterBlank) {
  if (at >= line.size() || InExtension(line, at)) return false;
  if (!Closes(line[at])) return true;
  const char next = at + 1 < line.size() ? line[at + 1] : '\0';
  return afterBlank && line[at] == '"' && next != '\0' && next != ' ' && !Closes(next);
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
      // At a blank where there is one, else after a slash (a long path breaks between its
      // folders), else inside a word; each only where the next line may begin.
      size_t blank = cut;
      while ((blank = line.rfind(' ', blank)) != std::string::npos && blank > 0 &&
             !CanBeginLine(line, blank + 1, true))
        --blank;
      size_t slash = line.rfind('/', cut - 1);
      while (slash != std::string::npos && !CanBeginLine(line, slash + 1, false))
        slash = slash > 0 ? line.rfind('/', slash - 1) : std::string::npos;
      size_t inside = cut;
      while (inside > 0 && !CanBeginLine(line, inside, false)) inside = CharacterBefore(line, inside);
      const bool atBlank = blank != std::string::npos && blank > 0;
      size_t at = atBlank                         ? blank
                  : slash != std::string::npos   ? slash + 1
                  : inside > 0                   ? inside
                                                 : cut;
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
