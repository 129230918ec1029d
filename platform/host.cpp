#include "platform/host.h"

#include <algorithm>
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
// question mark after the quote): a line never begins with one.
bool Closes(char c) { return c != '\0' && std::strchr("\".,:;?!)", c) != nullptr; }

// The start of the character before the byte at.
size_t CharacterBefore(const std::string& line, size_t at) {
  do --at;
  while (at > 0 && !StartsCharacter(line[at]));
  return at;
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
      // The blank before a closing " ." stays with the word it ends.
      size_t space = cut;
      while ((space = line.rfind(' ', space)) != std::string::npos && space > 0 &&
             line.compare(space, 2, " .") == 0 &&
             (space + 2 == line.size() || line[space + 2] == ' '))
        --space;
      // A break after a slash, or inside a word, leaves the closing marks with the word.
      size_t slash = line.rfind('/', cut - 1);
      while (slash != std::string::npos && Closes(line[slash + 1]))
        slash = slash > 0 ? line.rfind('/', slash - 1) : std::string::npos;
      size_t inside = cut;
      while (inside > 0 && Closes(line[inside])) inside = CharacterBefore(line, inside);
      size_t at = space != std::string::npos && space > 0 ? space
                  : slash != std::string::npos            ? slash + 1
                  : inside > 0                            ? inside
                                                          : cut;
      out += line.substr(0, at) + "\n";
      line.erase(0, at == space ? at + 1 : at);
    }
    out += line;
    if (end == text.size()) return out;
    out += '\n';
    start = end + 1;
  }
}

}  // namespace platform
