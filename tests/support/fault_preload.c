// Faults in a program's file calls, for tests that stage what a disk, a file system or a kill
// can do to a save half way. Preloaded (LD_PRELOAD) into a test's child and told what to do by
// QUOR_FAULTS, a list of rules separated by commas:
//   rename:NAME[@N]:fail=ERRNO  the Nth rename (1st by default) onto a file called NAME, in any
//                               folder, fails with ERRNO and renames nothing;
//   rename:NAME[@N]:kill        the process is killed (SIGKILL) as it is about to make it;
//   rename:NAME[@N]:hold=PATH   it waits, having made PATH.held, until PATH is there;
//   grow:NAME:SIZE              a file called NAME grows to SIZE bytes as it is opened through
//                               fdopen, once: between an open's look at its size and its read.
// Built without the sanitizers, since it comes first in the program's libraries.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

enum { kMaxRules = 16, kNameSize = 256, kPathSize = 4096 };

struct Rule {
  char kind;  // 'r' rename, 'g' grow
  char name[kNameSize];
  int nth, seen;
  char action;  // 'f' fail, 'k' kill, 'h' hold
  int error;
  long long size;
  char path[kPathSize];
};

static struct Rule rules[kMaxRules];
static int ruleCount = -1;

static void CopyField(char* to, size_t size, const char* from, size_t length) {
  if (length >= size) length = size - 1;
  memcpy(to, from, length);
  to[length] = '\0';
}

static void ParseRules(void) {
  ruleCount = 0;
  const char* text = getenv("QUOR_FAULTS");
  while (text && *text && ruleCount < kMaxRules) {
    const char* end = strchr(text, ',');
    size_t length = end ? (size_t)(end - text) : strlen(text);
    char rule[kPathSize];
    CopyField(rule, sizeof rule, text, length);
    text += length + (end ? 1 : 0);
    struct Rule* r = &rules[ruleCount];
    memset(r, 0, sizeof *r);
    r->nth = 1;
    char* kind = rule;
    char* name = strchr(kind, ':');
    if (!name) continue;
    *name++ = '\0';
    char* action = strrchr(name, ':');
    if (!action) continue;
    *action++ = '\0';
    char* at = strchr(name, '@');
    if (at) {
      *at++ = '\0';
      r->nth = atoi(at);
    }
    CopyField(r->name, sizeof r->name, name, strlen(name));
    if (strcmp(kind, "grow") == 0) {
      r->kind = 'g';
      r->size = atoll(action);
    } else if (strcmp(kind, "rename") == 0) {
      r->kind = 'r';
      if (strncmp(action, "fail=", 5) == 0) {
        r->action = 'f';
        r->error = atoi(action + 5);
      } else if (strcmp(action, "kill") == 0) {
        r->action = 'k';
      } else if (strncmp(action, "hold=", 5) == 0) {
        r->action = 'h';
        CopyField(r->path, sizeof r->path, action + 5, strlen(action + 5));
      } else {
        continue;
      }
    } else {
      continue;
    }
    ++ruleCount;
  }
}

static const char* BaseName(const char* path) {
  const char* slash = strrchr(path, '/');
  return slash ? slash + 1 : path;
}

// What the rules say of a rename onto path: 0 to go on, or -1 with errno set.
static int BeforeRename(const char* path) {
  if (ruleCount < 0) ParseRules();
  for (int i = 0; i < ruleCount; ++i) {
    struct Rule* r = &rules[i];
    if (r->kind != 'r' || strcmp(r->name, BaseName(path)) != 0 || ++r->seen != r->nth) continue;
    if (r->action == 'k') raise(SIGKILL);
    if (r->action == 'f') {
      errno = r->error;
      return -1;
    }
    char held[kPathSize + 8];
    snprintf(held, sizeof held, "%s.held", r->path);
    close(open(held, O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    struct timespec pause = {0, 10 * 1000 * 1000};
    while (access(r->path, F_OK) != 0) nanosleep(&pause, NULL);
  }
  return 0;
}

int rename(const char* from, const char* to) {
  static int (*real)(const char*, const char*);
  if (!real) real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
  return BeforeRename(to) != 0 ? -1 : real(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  static int (*real)(int, const char*, int, const char*);
  if (!real) real = (int (*)(int, const char*, int, const char*))dlsym(RTLD_NEXT, "renameat");
  return BeforeRename(to) != 0 ? -1 : real(fromFolder, from, toFolder, to);
}

FILE* fdopen(int fd, const char* mode) {
  static FILE* (*real)(int, const char*);
  if (!real) real = (FILE * (*)(int, const char*)) dlsym(RTLD_NEXT, "fdopen");
  if (ruleCount < 0) ParseRules();
  char link[64], path[kPathSize];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  ssize_t n = readlink(link, path, sizeof path - 1);
  for (int i = 0; n > 0 && i < ruleCount; ++i) {
    struct Rule* r = &rules[i];
    path[n] = '\0';
    if (r->kind != 'g' || r->seen || strcmp(r->name, BaseName(path)) != 0) continue;
    r->seen = 1;
    if (truncate(path, r->size) != 0) perror("fault_preload: grow");
  }
  return real(fd, mode);
}
