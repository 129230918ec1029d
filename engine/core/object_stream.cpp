#include "engine/core/object_stream.h"

#include <cmath>

#include "engine/core/class_record.h"
#include "engine/core/node.h"
#include "platform/files.h"

namespace quor {

ObjectStream::ObjectStream(const std::string& path, bool write)
    : std::iostream(nullptr), reading_(write ? 0 : 1) {
  if (write) {
    rdbuf(&file_);
    if (!file_.open(platform::MapPath(path), std::ios::out | std::ios::binary | std::ios::trunc))
      setstate(std::ios::failbit);
    return;
  }
  rdbuf(&bytes_);
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes, kLargestSavedGame)) {
    setstate(std::ios::failbit);
    return;
  }
  size_ = bytes.size();
  bytes_.Take(std::move(bytes));
}

ObjectStream::ObjectStream() : std::iostream(nullptr), reading_(0) { rdbuf(&memory_); }

ObjectStream::ObjectStream(std::vector<uint8_t> bytes) : std::iostream(nullptr), reading_(1) {
  rdbuf(&bytes_);
  size_ = bytes.size();
  bytes_.Take(std::move(bytes));
}

std::vector<uint8_t> ObjectStream::WrittenBytes() const {
  const std::string written = memory_.str();
  return std::vector<uint8_t>(written.begin(), written.end());
}

void ObjectStream::ByteReader::Take(std::vector<uint8_t>&& bytes) {
  bytes_ = std::move(bytes);
  char* start = reinterpret_cast<char*>(bytes_.data());
  setg(start, start, start + bytes_.size());
}

std::streambuf::pos_type ObjectStream::ByteReader::seekoff(off_type offset, std::ios::seekdir from,
                                                           std::ios::openmode) {
  char* base = from == std::ios::beg ? eback() : from == std::ios::cur ? gptr() : egptr();
  off_type at = (base - eback()) + offset;
  if (at < 0 || at > egptr() - eback()) return pos_type(off_type(-1));
  setg(eback(), eback() + at, egptr());
  return pos_type(at);
}

std::streambuf::pos_type ObjectStream::ByteReader::seekpos(pos_type position,
                                                           std::ios::openmode which) {
  return seekoff(off_type(position), std::ios::beg, which);
}

ObjectStream::~ObjectStream() {
  if (file_.is_open()) file_.close();
}

void ObjectStream::Write(const void* address, size_t n) {
  if (fail()) return;
  write(static_cast<const char*>(address), static_cast<std::streamsize>(n));
}

void ObjectStream::Read(void* address, size_t n) {
  if (fail() || n == 0) return;
  // Read into a scratch buffer so that a short read leaves the destination untouched.
  char scratch[64];
  std::vector<char> big;
  char* buffer = scratch;
  if (n > sizeof scratch) {
    big.resize(n);
    buffer = big.data();
  }
  read(buffer, static_cast<std::streamsize>(n));
  if (gcount() == static_cast<std::streamsize>(n) && !fail()) {
    std::memcpy(address, buffer, n);
  } else {
    setstate(std::ios::failbit);
  }
}

void ObjectStream::ReadName(char (&name)[32]) {
  char buffer[32] = {};
  bool wasGood = Good();
  Read(buffer, 32);
  if (!wasGood || !Good()) return;
  if (std::memchr(buffer, 0, 32) == nullptr) {
    MarkFailed();
    return;
  }
  std::memcpy(name, buffer, 32);
}

void ObjectStream::ReadReal(float* address, float limit) {
  float value = 0.0f;
  bool wasGood = Good();
  Read(&value, 4);
  if (!wasGood || !Good()) return;
  if (!std::isfinite(value) || std::fabs(value) > limit) {
    MarkFailed();
    return;
  }
  *address = value;
}

void ObjectStream::ReadWhole(int32_t* address, int32_t least, int32_t most) {
  int32_t value = 0;
  bool wasGood = Good();
  Read(&value, 4);
  if (!wasGood || !Good()) return;
  if (value < least || value > most) {
    MarkFailed();
    return;
  }
  *address = value;
}

void ObjectStream::ReadRect(Rect* address, int32_t limit) {
  Rect r = *address;
  for (int32_t* side : {&r.left, &r.top, &r.right, &r.bottom}) ReadWhole(side, -limit, limit);
  if (Good()) *address = r;
}

uint32_t ObjectStream::ReadCount(uint32_t elementBytes) {
  uint32_t count = 0;
  Read(&count, 4);
  if (!Good()) return 0;
  if (uint64_t{count} * elementBytes > Remaining()) {
    MarkFailed();
    return 0;
  }
  return count;
}

uint64_t ObjectStream::Remaining() {
  if (!reading_ || fail()) return 0;
  std::streamoff at = tellg();
  if (at < 0 || static_cast<uint64_t>(at) > size_) return 0;
  return size_ - static_cast<uint64_t>(at);
}

void ObjectStream::Seek(int64_t position) {
  if (fail()) return;
  if (reading_)
    seekg(position, std::ios::beg);
  else
    seekp(position, std::ios::beg);
}

int64_t ObjectStream::Tell() {
  if (fail()) return -1;
  return reading_ ? static_cast<int64_t>(tellg()) : static_cast<int64_t>(tellp());
}

void ObjectStream::Forget(const Node* object) {
  for (auto it = table_.begin(); it != table_.end();) {
    if (it->second == object)
      it = table_.erase(it);
    else
      ++it;
  }
}

void ObjectStream::WriteObject(Node* object) {
  if (!object) {
    WriteLong(uint32_t{0});
    return;
  }
  char name[32] = {};
  std::memcpy(name, object->GetClassRecord().name, 31);
  for (const auto& entry : table_) {
    if (entry.second == object) {
      WriteName(name);
      WriteLong(entry.first);
      return;
    }
  }
  ++lastId_;
  table_.emplace_back(lastId_, object);
  WriteName(name);
  WriteLong(lastId_);
  object->Save(*this);
}

void ObjectStream::ReadObject(Node** place) {
  *place = nullptr;
  int64_t start = Tell();
  uint32_t word = 0;
  ReadLong(&word);
  if (!Good() || word == 0) return;
  Seek(start);
  char name[32] = {};
  uint32_t id = 0;
  ReadName(name);
  ReadLong(&id);
  if (!Good()) return;
  for (const auto& entry : table_) {
    if (entry.first == id) {
      // An id names one object; a reference to it under another class name is corrupt.
      if (std::strncmp(entry.second->GetClassRecord().name, name, 32) != 0) {
        MarkFailed();
        return;
      }
      *place = entry.second;
      return;
    }
  }
  // A scene is the body of its file, never a reference: reading one in its place would
  // replace the running scene's global state from inside another object.
  if (std::strncmp(name, GameNodeClassRecord.name, 32) == 0) {
    MarkFailed();
    return;
  }
  Node* object = CreateObjectByName(name);
  if (!object) {
    MarkFailed();
    return;
  }
  // Entered before its Load, so that references back to it from its own parts resolve.
  table_.emplace_back(id, object);
  object->Load(*this);
  *place = object;
}

}  // namespace quor
