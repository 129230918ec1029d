// Faults in a program's file calls, for tests that stage what a disk, a file system or a kill
// can do to a save half way. Preloaded (LD_PRELOAD) into a test's child and told what to do by
// QUOR_FAULTS, a list of rules separated by commas:
//   rename:NAME[@N]:fail=ERRNO  the Nth rename (1st by default) onto a file called NAME, in any
//                               folder, fails with ERRNO and renames nothing;
//   rename:NAME[@N]:kill        the process is killed (SIGKILL) as it is about to make it;
//   rename:NAME[@N]:hold=PATH   it waits, having made PATH.held, until PATH is there;
//   rename:NAME[@N]:readonly    it fails with EROFS, and so does every change of a name or a
//                               file from then on, as a disk turned read-only would have it;
//   grow:NAME:SIZE              a file called NAME grows to SIZE bytes as it is opened through
//                               fdopen, once: between an open's look at its size and its read;
//   fsync:file|folder[@N]:fail=ERRNO
//                               the Nth flush (every one without @N) of a file, or of a
//                               folder, fails with ERRNO;
//   lock:all|readonly:fail=ERRNO
//                               every lock (flock or fcntl), or every one through a
//                               descriptor not open for writing (as NFS refuses it), fails
//                               with ERRNO;
//   lock:all:mandatory          an exclusive lock makes writes to its file through any other
//                               descriptor fail with EACCES, as an SMB share's lock does;
//   lock:all[@N]:hold=PATH      the Nth lock (the first by default) waits before it is taken,
//                               as a rename's hold= does;
//   lstat:NAME:stale            lstat and stat of a file whose name matches NAME answer, once
//                               the process has opened one, what that name showed at its last
//                               open, as a network share's client may while its cache is stale
//                               (an open looks afresh);
//   lstat:NAME[@N]:fail=ERRNO   every lstat and stat (the first N) of such a file fails with
//                               ERRNO ("stat:" is the same rule);
//   readdir:NAME[@N]:fail=ERRNO every listing (the Nth only, with @N) of a folder whose name
//                               matches NAME fails with ERRNO after its first entry;
//   readdir:NAME:lose=ERRNO     every listing leaves out the entries whose names match NAME,
//                               and ends failing with ERRNO where it left one out, as a
//                               folder with a bad block may;
//   net:client                  the program runs on another computer than the test, over a
//                               network share: a lock it takes on a folder is its own (the
//                               share's client keeps it) and never meets another program's,
//                               while its locks on files reach the server as before;
//   read:NAME[@N]:fail=ERRNO    every read (the first N, with @N) of a file whose name matches
//                               NAME (a shell pattern) fails with ERRNO;
//   fstat:NAME[@N]:fail=ERRNO   every fstat (the first N) of such a file fails with ERRNO, as
//                               a network file system's attribute call can after an open;
//   open:NAME[@N]:fail=ERRNO    every open (the first N) of such a file that makes none fails
//                               with ERRNO, as where a network share's client keeps a stale
//                               "no such file" for a name that is there;
//   open:NAME[@N]:hold=PATH     the Nth such open waits, as a rename's hold= does;
//   link:NAME[@N]:fail=ERRNO    every link (the first N) of a file whose name matches NAME to a
//                               new name fails with ERRNO, as where the file is renamed over as
//                               it is linked (ENOENT);
//   open:NAME[@N]:grow=SIZE     the Nth such open finds the file grown to SIZE bytes first;
//   unlink:NAME[@N]:kill        the process is killed as it is about to remove the Nth file
//                               whose name matches NAME;
//   unlink:NAME[@N]:hold=PATH   it waits before that removal, as a rename's hold= does;
//   fifo:NAME@N                 the Nth open of a file whose name matches NAME finds a pipe
//                               in its place, as another user could put there;
//   log:PATH                    each rename, flush, removal and new file is written to PATH as
//                               a line: "rename FROM TO", "fsync NAME", "fsync-folder NAME",
//                               "unlink NAME" or "create NAME" (last parts).
// Built without the sanitizers, since it comes first in the program's libraries.
#define _GNU_SOURCE
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

enum { kMaxRules = 16, kNameSize = 256, kPathSize = 4096 };

struct Rule {
  char kind;  // 'r' rename, 'g' grow, 's' fsync, 'l' lock, 'd' read, 'u' unlink, 'p' fifo,
              // 't' fstat, 'o' open, 'z' a stale lstat, 'y' a failing lstat, 'e' readdir,
              // 'n' link
  char name[kNameSize];
  int nth, seen, every;
  char action;  // 'f' fail, 'k' kill, 'h' hold, 'm' mandatory, 'o' read-only
  int error;
  long long size;
  char path[kPathSize];
  struct stat shown;  // lstat:stale: what the name showed at the first open
};

static struct Rule rules[kMaxRules];
static int ruleCount = -1;
static char logPath[kPathSize];
static int networkClient, readOnly;

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
    r->every = 1;
    char* kind = rule;
    char* name = strchr(kind, ':');
    if (!name) continue;
    *name++ = '\0';
    if (strcmp(kind, "log") == 0) {
      CopyField(logPath, sizeof logPath, name, strlen(name));
      continue;
    }
    if (strcmp(kind, "net") == 0) {
      networkClient = strcmp(name, "client") == 0;
      continue;
    }
    char* action = strrchr(name, ':');
    // "fifo:NAME@N" is the one rule without an action.
    if (!action && strcmp(kind, "fifo") == 0) action = name + strlen(name);
    if (!action) continue;
    if (*action) *action++ = '\0';
    char* at = strchr(name, '@');
    if (at) {
      *at++ = '\0';
      r->nth = atoi(at);
      r->every = 0;
    }
    CopyField(r->name, sizeof r->name, name, strlen(name));
    if (strcmp(kind, "fifo") == 0) {
      r->kind = 'p';
    } else if (strcmp(kind, "grow") == 0) {
      r->kind = 'g';
      r->size = atoll(action);
    } else if (strcmp(kind, "fsync") == 0 || strcmp(kind, "lock") == 0) {
      r->kind = kind[0] == 'f' ? 's' : 'l';
      if (strncmp(action, "fail=", 5) == 0) {
        r->action = 'f';
        r->error = atoi(action + 5);
      } else if (r->kind == 'l' && strcmp(action, "mandatory") == 0) {
        r->action = 'm';
      } else if (r->kind == 'l' && strncmp(action, "hold=", 5) == 0) {
        r->action = 'h';
        CopyField(r->path, sizeof r->path, action + 5, strlen(action + 5));
      } else {
        continue;
      }
    } else if (strcmp(kind, "readdir") == 0 && strncmp(action, "lose=", 5) == 0) {
      r->kind = 'e';
      r->action = 'l';
      r->error = atoi(action + 5);
    } else if ((!strcmp(kind, "read") || !strcmp(kind, "fstat") || !strcmp(kind, "open") ||
                !strcmp(kind, "lstat") || !strcmp(kind, "stat") || !strcmp(kind, "readdir") ||
                !strcmp(kind, "link")) &&
               strncmp(action, "fail=", 5) == 0) {
      r->kind = !strcmp(kind, "read")      ? 'd'
                : !strcmp(kind, "fstat")   ? 't'
                : !strcmp(kind, "open")    ? 'o'
                : !strcmp(kind, "readdir") ? 'e'
                : !strcmp(kind, "link")    ? 'n'
                                           : 'y';
      r->action = 'f';
      r->error = atoi(action + 5);
    } else if ((strcmp(kind, "open") == 0 || strcmp(kind, "unlink") == 0) &&
               strncmp(action, "hold=", 5) == 0) {
      r->kind = kind[0];
      r->action = 'h';
      CopyField(r->path, sizeof r->path, action + 5, strlen(action + 5));
    } else if (strcmp(kind, "open") == 0 && strncmp(action, "grow=", 5) == 0) {
      r->kind = 'o';
      r->action = 'g';
      r->size = atoll(action + 5);
    } else if ((!strcmp(kind, "lstat") || !strcmp(kind, "stat")) && strcmp(action, "stale") == 0) {
      r->kind = 'z';
    } else if (strcmp(kind, "unlink") == 0 && strcmp(action, "kill") == 0) {
      r->kind = 'u';
      r->action = 'k';
    } else if (strcmp(kind, "rename") == 0) {
      r->kind = 'r';
      if (strncmp(action, "fail=", 5) == 0) {
        r->action = 'f';
        r->error = atoi(action + 5);
      } else if (strcmp(action, "kill") == 0) {
        r->action = 'k';
      } else if (strcmp(action, "readonly") == 0) {
        r->action = 'o';
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

static int RealOpen(const char* path, int flags, mode_t mode) {
  static int (*real)(const char*, int, ...);
  if (!real) real = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, "open");
  return real(path, flags, mode);
}

// -1 with errno EROFS once the disk has turned read-only, else 0.
static int ReadOnly(void) {
  if (!readOnly) return 0;
  errno = EROFS;
  return -1;
}

// Waits, having made PATH.held, until PATH is there.
static void Hold(const char* path) {
  char held[kPathSize + 8];
  snprintf(held, sizeof held, "%s.held", path);
  close(RealOpen(held, O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
  struct timespec pause = {0, 10 * 1000 * 1000};
  while (access(path, F_OK) != 0) nanosleep(&pause, NULL);
}

// What the rules say of a rename onto path: 0 to go on, or -1 with errno set.
static int BeforeRename(const char* path) {
  if (ruleCount < 0) ParseRules();
  for (int i = 0; i < ruleCount; ++i) {
    struct Rule* r = &rules[i];
    if (r->kind != 'r' || strcmp(r->name, BaseName(path)) != 0 || ++r->seen != r->nth) continue;
    if (r->action == 'k') raise(SIGKILL);
    readOnly = readOnly || r->action == 'o';
    if (r->action == 'f') {
      errno = r->error;
      return -1;
    }
    if (r->action == 'h') Hold(r->path);
  }
  return ReadOnly();
}

static ssize_t RealWrite(int fd, const void* data, size_t size) {
  static ssize_t (*real)(int, const void*, size_t);
  if (!real) real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  return real(fd, data, size);
}

static void Log(const char* what, const char* from, const char* to) {
  if (ruleCount < 0) ParseRules();
  if (!logPath[0]) return;
  char line[2 * kPathSize + 64];
  int n = snprintf(line, sizeof line, "%s %s%s%s\n", what, BaseName(from), to ? " " : "",
                   to ? BaseName(to) : "");
  int fd = RealOpen(logPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  if (RealWrite(fd, line, (size_t)n) != n) perror("fault_preload: log");
  close(fd);
}

int rename(const char* from, const char* to) {
  static int (*real)(const char*, const char*);
  if (!real) real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
  if (BeforeRename(to) != 0) return -1;
  Log("rename", from, to);
  return real(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  static int (*real)(int, const char*, int, const char*);
  if (!real) real = (int (*)(int, const char*, int, const char*))dlsym(RTLD_NEXT, "renameat");
  if (BeforeRename(to) != 0) return -1;
  Log("rename", from, to);
  return real(fromFolder, from, toFolder, to);
}

// The rule of kind for a call on fd, or null: name "file" or "folder" for fsync, "all" or
// "readonly" for flock.
static struct Rule* RuleFor(char kind, int fd) {
  if (ruleCount < 0) ParseRules();
  struct stat st;
  int mode = fcntl(fd, F_GETFL);
  int isFolder = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
  for (int i = 0; i < ruleCount; ++i) {
    struct Rule* r = &rules[i];
    if (r->kind != kind) continue;
    if (kind == 's' && strcmp(r->name, isFolder ? "folder" : "file") != 0) continue;
    if (kind == 'l' && strcmp(r->name, "all") != 0 &&
        !(strcmp(r->name, "readonly") == 0 && mode >= 0 && (mode & O_ACCMODE) == O_RDONLY))
      continue;
    ++r->seen;
    if (r->every || r->seen == r->nth) return r;
  }
  return NULL;
}

// The name of the file open as fd (its last part), or "".
static const char* NameOfDescriptor(int fd, char* path, size_t size) {
  char link[64];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  ssize_t n = readlink(link, path, size - 1);
  path[n > 0 ? n : 0] = '\0';
  return BaseName(path);
}

// What the rules of kind say of a call on fd: 0 to go on, or -1 with errno set.
static int OnDescriptor(char kind, int fd) {
  if (ruleCount < 0) ParseRules();
  for (int i = 0; i < ruleCount; ++i) {
    struct Rule* r = &rules[i];
    char path[kPathSize];
    if (r->kind != kind || fnmatch(r->name, NameOfDescriptor(fd, path, sizeof path), 0) != 0)
      continue;
    if (r->every || r->seen++ < r->nth) {
      errno = r->error;
      return -1;
    }
  }
  return 0;
}

ssize_t read(int fd, void* data, size_t size) {
  static ssize_t (*real)(int, void*, size_t);
  if (!real) real = (ssize_t(*)(int, void*, size_t))dlsym(RTLD_NEXT, "read");
  return OnDescriptor('d', fd) != 0 ? -1 : real(fd, data, size);
}

// Both spellings of fstat.
#define FSTAT_UNDER_RULES(symbol, type)                                          \
  static int (*real)(int, type*);                                               \
  if (!real) real = (int (*)(int, type*))dlsym(RTLD_NEXT, symbol);              \
  return OnDescriptor('t', fd) != 0 ? -1 : real(fd, st)

int fstat(int fd, struct stat* st) { FSTAT_UNDER_RULES("fstat", struct stat); }

int fstat64(int fd, struct stat64* st) { FSTAT_UNDER_RULES("fstat64", struct stat64); }

int unlink(const char* path) {
  static int (*real)(const char*);
  if (!real) real = (int (*)(const char*))dlsym(RTLD_NEXT, "unlink");
  if (ruleCount < 0) ParseRules();
  for (int i = 0; i < ruleCount; ++i) {
    struct Rule* r = &rules[i];
    if (r->kind != 'u' || fnmatch(r->name, BaseName(path), 0) != 0 || ++r->seen != r->nth) continue;
    if (r->action == 'k') raise(SIGKILL);
    Hold(r->path);
  }
  if (ReadOnly() != 0) return -1;
  Log("unlink", path, NULL);
  return real(path);
}

int link(const char* from, const char* to) {
  static int (*real)(const char*, const char*);
  if (!real) real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "link");
  if (ruleCount < 0) ParseRules();
  for (int i = 0; i < ruleCount; ++i) {
    struct Rule* r = &rules[i];
    if (r->kind == 'n' && fnmatch(r->name, BaseName(from), 0) == 0 &&
        (r->every || r->seen++ < r->nth)) {
      errno = r->error;
      return -1;
    }
  }
  return ReadOnly() != 0 ? -1 : real(from, to);
}

int truncate(const char* path, off_t size) {
  static int (*real)(const char*, off_t);
  if (!real) real = (int (*)(const char*, off_t))dlsym(RTLD_NEXT, "truncate");
  return ReadOnly() != 0 ? -1 : real(path, size);
}

// What the rules say of an open of path: a pipe put in its place, the name logged where the
// open makes a file; -1 (errno set) where a read-only disk refuses it.
static int BeforeOpen(const char* path, int flags) {
  if (ruleCount < 0) ParseRules();
  for (int i = 0; i < ruleCount; ++i) {
    struct Rule* r = &rules[i];
    if (r->kind != 'p' || fnmatch(r->name, BaseName(path), 0) != 0 || ++r->seen != r->nth) continue;
    static int (*realUnlink)(const char*);
    if (!realUnlink) realUnlink = (int (*)(const char*))dlsym(RTLD_NEXT, "unlink");
    if (realUnlink(path) != 0 || mkfifo(path, 0666) != 0) perror("fault_preload: fifo");
  }
  for (int i = 0; i < ruleCount && !(flags & O_CREAT); ++i) {
    struct Rule* r = &rules[i];
    if (r->kind != 'o' || fnmatch(r->name, BaseName(path), 0) != 0) continue;
    if (r->action == 'h' && ++r->seen == r->nth) Hold(r->path);
    if (r->action == 'g' && ++r->seen == r->nth && truncate(path, r->size) != 0)
      perror("fault_preload: grow");
    if (r->action == 'f' && (r->every || r->seen++ < r->nth)) {
      errno = r->error;
      return -1;
    }
  }
  if ((flags & (O_CREAT | O_TRUNC)) || (flags & O_ACCMODE) != O_RDONLY) {
    if (ReadOnly() != 0) return -1;
  }
  if (flags & O_CREAT) Log("create", path, NULL);
  return 0;
}

// What a stale lstat of path answers from now on: what it shows as this open finds it.
static void AfterOpen(const char* path, int fd) {
  for (int i = 0; i < ruleCount && fd >= 0; ++i) {
    struct Rule* r = &rules[i];
    if (r->kind == 'z' && fnmatch(r->name, BaseName(path), 0) == 0)
      r->seen = fstat(fd, &r->shown) == 0;
  }
}

// Both spellings of lstat and of stat: what the rules say of path, or the real answer.
#define LSTAT_UNDER_RULES(symbol, type)                                           \
  static int (*real)(const char*, type*);                                       \
  if (!real) real = (int (*)(const char*, type*))dlsym(RTLD_NEXT, symbol);      \
  if (ruleCount < 0) ParseRules();                                              \
  for (int i = 0; i < ruleCount; ++i) {                                         \
    struct Rule* r = &rules[i];                                                 \
    if ((r->kind != 'z' && r->kind != 'y') || fnmatch(r->name, BaseName(path), 0) != 0) \
      continue;                                                                 \
    if (r->kind == 'z' && r->seen) {                                            \
      memcpy(st, &r->shown, sizeof r->shown);                                   \
      return 0;                                                                 \
    }                                                                           \
    if (r->kind == 'y' && (r->every || r->seen++ < r->nth)) {                   \
      errno = r->error;                                                         \
      return -1;                                                                \
    }                                                                           \
  }                                                                             \
  return real(path, st)

int lstat(const char* path, struct stat* st) { LSTAT_UNDER_RULES("lstat", struct stat); }

int lstat64(const char* path, struct stat64* st) { LSTAT_UNDER_RULES("lstat64", struct stat64); }

int stat(const char* path, struct stat* st) { LSTAT_UNDER_RULES("stat", struct stat); }

int stat64(const char* path, struct stat64* st) { LSTAT_UNDER_RULES("stat64", struct stat64); }

// The listing under way, how many entries it has given, and the error it ends with where a
// "lose" rule left an entry out.
static DIR* listing;
static int listed, lostError;

int closedir(DIR* d) {
  static int (*real)(DIR*);
  if (!real) real = (int (*)(DIR*))dlsym(RTLD_NEXT, "closedir");
  if (d == listing) listing = NULL;
  return real(d);
}

// What a "lose" rule says of an entry called name: whether it is left out.
static int Lost(const char* name) {
  for (int i = 0; i < ruleCount; ++i)
    if (rules[i].kind == 'e' && rules[i].action == 'l' && fnmatch(rules[i].name, name, 0) == 0)
      return lostError = rules[i].error;
  return 0;
}

// Both spellings of readdir: a listing that the rules end part way does so after one entry.
#define READDIR_UNDER_RULES(symbol, type)                                              \
  static type* (*real)(DIR*);                                                        \
  if (!real) real = (type * (*)(DIR*)) dlsym(RTLD_NEXT, symbol);                     \
  if (ruleCount < 0) ParseRules();                                                   \
  char path[kPathSize];                                                              \
  const int before = errno;                                                          \
  for (int i = 0; i < ruleCount; ++i) {                                              \
    struct Rule* r = &rules[i];                                                      \
    if (r->kind != 'e' || r->action != 'f' ||                                        \
        fnmatch(r->name, NameOfDescriptor(dirfd(d), path, sizeof path), 0) != 0)     \
      continue;                                                                      \
    r->seen += d != listing;                                                         \
    if (listed > 0 && d == listing && (r->every || r->seen == r->nth)) {             \
      errno = r->error;                                                              \
      return NULL;                                                                   \
    }                                                                                \
  }                                                                                  \
  if (d != listing) listing = d, listed = lostError = 0;                             \
  ++listed;                                                                          \
  errno = before;                                                                    \
  type* e;                                                                           \
  while ((e = real(d)) && Lost(e->d_name)) {                                         \
  }                                                                                  \
  if (!e && lostError) errno = lostError;                                            \
  return e

struct dirent* readdir(DIR* d) { READDIR_UNDER_RULES("readdir", struct dirent); }

struct dirent64* readdir64(DIR* d) { READDIR_UNDER_RULES("readdir64", struct dirent64); }

// Both spellings of open: the mode is there only where the open may make a file.
#define OPEN_UNDER_RULES(real)                                                                \
  va_list parts;                                                                              \
  va_start(parts, flags);                                                                     \
  mode_t mode =                                                                               \
      (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? (mode_t)va_arg(parts, int) : 0; \
  va_end(parts);                                                                              \
  if (BeforeOpen(path, flags) != 0) return -1;                                                \
  int fd = real(path, flags, mode);                                                           \
  AfterOpen(path, fd);                                                                        \
  return fd

static int RealOpen64(const char* path, int flags, mode_t mode) {
  static int (*real)(const char*, int, ...);
  if (!real) real = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, "open64");
  return real(path, flags, mode);
}

int open(const char* path, int flags, ...) { OPEN_UNDER_RULES(RealOpen); }

int open64(const char* path, int flags, ...) { OPEN_UNDER_RULES(RealOpen64); }

int fsync(int fd) {
  static int (*real)(int);
  if (!real) real = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
  char link[64], path[kPathSize];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  ssize_t n = readlink(link, path, sizeof path - 1);
  path[n > 0 ? n : 0] = '\0';
  struct stat st;
  Log(fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) ? "fsync-folder" : "fsync", path, NULL);
  struct Rule* r = RuleFor('s', fd);
  if (r) {
    errno = r->error;
    return -1;
  }
  return real(fd);
}

// The exclusive locks taken under a "mandatory" rule: their file and the descriptor that
// holds each.
enum { kMaxLocks = 64 };
static struct {
  dev_t dev;
  ino_t ino;
  int fd;
} locks[kMaxLocks];
static int lockCount;

static void Unlock(int fd) {
  for (int i = 0; i < lockCount;)
    if (locks[i].fd == fd)
      locks[i] = locks[--lockCount];
    else
      ++i;
}

// A lock taken or let go through fd, as the rules have it kept.
static void NoteLock(int fd, struct Rule* r, int exclusive, int unlock) {
  struct stat st;
  if (unlock) Unlock(fd);
  if (r && r->action == 'm' && exclusive && lockCount < kMaxLocks && fstat(fd, &st) == 0) {
    locks[lockCount].dev = st.st_dev;
    locks[lockCount].ino = st.st_ino;
    locks[lockCount++].fd = fd;
  }
}

int flock(int fd, int operation) {
  static int (*real)(int, int);
  if (!real) real = (int (*)(int, int))dlsym(RTLD_NEXT, "flock");
  struct Rule* r = RuleFor('l', fd);
  if (r && r->action == 'f') {
    errno = r->error;
    return -1;
  }
  // A network share's client keeps a folder's lock to itself.
  struct stat st;
  if (networkClient && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) return 0;
  int result = real(fd, operation);
  if (result == 0) NoteLock(fd, r, operation & LOCK_EX, operation & LOCK_UN);
  return result;
}

// Both spellings of fcntl: a record lock goes by the rules, as flock does.
static int Fcntl(int (*real)(int, int, ...), int fd, int command, unsigned long argument) {
  const int locking = command == F_SETLK || command == F_SETLKW || command == F_OFD_SETLK ||
                      command == F_OFD_SETLKW;
  const struct flock* lock = (const struct flock*)argument;
  struct Rule* r = locking && lock->l_type != F_UNLCK ? RuleFor('l', fd) : NULL;
  if (r && r->action == 'h') Hold(r->path);
  if (r && r->action == 'f') {
    errno = r->error;
    return -1;
  }
  int result = real(fd, command, argument);
  if (result == 0 && locking) NoteLock(fd, r, lock->l_type == F_WRLCK, lock->l_type == F_UNLCK);
  return result;
}

#define FCNTL_UNDER_RULES(symbol)                                           \
  static int (*real)(int, int, ...);                                       \
  if (!real) real = (int (*)(int, int, ...))dlsym(RTLD_NEXT, symbol);      \
  va_list parts;                                                            \
  va_start(parts, command);                                                 \
  unsigned long argument = va_arg(parts, unsigned long);                    \
  va_end(parts);                                                            \
  return Fcntl(real, fd, command, argument)

int fcntl(int fd, int command, ...) { FCNTL_UNDER_RULES("fcntl"); }

int fcntl64(int fd, int command, ...) { FCNTL_UNDER_RULES("fcntl64"); }

int close(int fd) {
  static int (*real)(int);
  if (!real) real = (int (*)(int))dlsym(RTLD_NEXT, "close");
  Unlock(fd);
  return real(fd);
}

// 0 where fd may write, or -1 with errno EACCES where another descriptor locks its file.
static int MayWrite(int fd) {
  struct stat st;
  if (lockCount == 0 || fstat(fd, &st) != 0) return 0;
  for (int i = 0; i < lockCount; ++i)
    if (locks[i].dev == st.st_dev && locks[i].ino == st.st_ino && locks[i].fd != fd) {
      errno = EACCES;
      return -1;
    }
  return 0;
}

ssize_t write(int fd, const void* data, size_t size) {
  return MayWrite(fd) != 0 ? -1 : RealWrite(fd, data, size);
}

ssize_t writev(int fd, const struct iovec* parts, int count) {
  static ssize_t (*real)(int, const struct iovec*, int);
  if (!real) real = (ssize_t(*)(int, const struct iovec*, int))dlsym(RTLD_NEXT, "writev");
  return MayWrite(fd) != 0 ? -1 : real(fd, parts, count);
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
