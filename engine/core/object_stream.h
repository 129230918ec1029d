// The byte stream of saved games and replay states: raw little-endian values, fixed
// 32-character names, and object references (four zero bytes for none, else the class
// name and an object id, the object's own data following at its first appearance).
//
// A stream that meets a bad file (truncated, an unknown class name, an id that names an
// object of another class, a name without its terminator) marks itself failed; from then
// on reads leave their destinations alone and ReadObject gives null.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/core/rect.h"

namespace quor {

class Node;

// The real numbers a saved file may hold. Coordinates stay far beyond any world and still
// make whole 32-bit pixels once the view's offset is taken off; rates (speeds, drifts,
// scroll factors, a view's move) keep many frames of motion, and a rate times a rate,
// within the coordinates; units are the components of unit vectors and signs.
constexpr float kLargestSavedCoordinate = 268435456.0f;  // 2^28
constexpr int32_t kLargestSavedWhole = 1 << 28;            // the same in whole pixels
constexpr float kLargestSavedRate = 4096.0f;
constexpr float kLargestSavedUnit = 2.0f;

// The largest saved game (or state file) read. The game's own are some tens of kilobytes;
// this leaves room for scenes a thousand times fuller, while a larger file is refused before
// anything is allocated for it.
constexpr uint64_t kLargestSavedGame = uint64_t{64} << 20;

class ObjectStream : public std::iostream {
 public:
  // Opens path (a Windows-style name is mapped) for writing (created or truncated) or
  // reading; a file is read only where platform::ReadWholeFile reads it.
  ObjectStream(const std::string& path, bool write);
  // Writes into memory, for a save that puts its bytes in place whole (WrittenBytes).
  ObjectStream();
  // Reads these bytes as it would a file that holds them.
  explicit ObjectStream(std::vector<uint8_t> bytes);
  ~ObjectStream() override;

  // What a stream that writes into memory holds.
  std::vector<uint8_t> WrittenBytes() const;

  bool IsReading() const { return reading_ != 0; }
  // True while no read, write or open has failed.
  bool Good() const { return !fail(); }
  // Marks the stream failed (a caller found the data it read impossible).
  void MarkFailed() { setstate(std::ios::failbit); }

  void Write(const void* address, size_t n);
  void Read(void* address, size_t n);

  void WriteByte(uint8_t value) { Write(&value, 1); }
  void WriteShort(uint16_t value) { Write(&value, 2); }
  void WriteLong(uint32_t value) { Write(&value, 4); }
  void WriteLong(int32_t value) { Write(&value, 4); }
  void WriteLong(float value) { Write(&value, 4); }
  void WriteDouble(double value) { Write(&value, 8); }
  void WriteRect(const Rect& value) { Write(&value, 16); }
  // A char[32] field exactly as it stands in memory.
  void WriteName(const char (&name)[32]) { Write(name, 32); }

  // Reads into any object of the named size; a failed read leaves it as it was.
  template <typename T>
  void ReadByte(T* address) {
    static_assert(sizeof(T) == 1 && std::is_trivially_copyable<T>::value, "1-byte value");
    Read(address, 1);
  }
  template <typename T>
  void ReadShort(T* address) {
    static_assert(sizeof(T) == 2 && std::is_trivially_copyable<T>::value, "2-byte value");
    Read(address, 2);
  }
  template <typename T>
  void ReadLong(T* address) {
    static_assert(sizeof(T) == 4 && std::is_trivially_copyable<T>::value, "4-byte value");
    Read(address, 4);
  }
  template <typename T>
  void ReadDouble(T* address) {
    static_assert(sizeof(T) == 8 && std::is_trivially_copyable<T>::value, "8-byte value");
    Read(address, 8);
  }
  void ReadRect(Rect* address) { Read(address, 16); }
  // Reads a 32-bit real number; one that is not finite or lies beyond +-limit fails the
  // stream and leaves the destination as it was.
  void ReadReal(float* address, float limit);
  // Reads a 32-bit integer; one outside least..most fails the stream and leaves the
  // destination as it was.
  void ReadWhole(int32_t* address, int32_t least, int32_t most);
  // A rectangle whose four sides each lie within +-limit, else as ReadWhole fails.
  void ReadRect(Rect* address, int32_t limit);
  // Reads a 32-bit count of elements that take at least elementBytes each in the file; a
  // count that the rest of the file cannot hold fails the stream. The count, 0 on failure.
  uint32_t ReadCount(uint32_t elementBytes);
  // The bytes between the read position and the end of the file; 0 when failed or writing.
  uint64_t Remaining();
  // Reads 32 bytes and makes sure the name ends inside them (a name without its
  // terminator fails the stream and keeps the old name).
  void ReadName(char (&name)[32]);

  // Sets the position from the start of the file; nothing while failed.
  void Seek(int64_t position);
  // The position, or -1 after a failure.
  int64_t Tell();

  void WriteObject(Node* object);
  // Reads a reference into *place: null for none, for a failed stream, and for a bad one.
  void ReadObject(Node** place);
  // Typed convenience: null unless the object read is a T.
  template <typename T>
  void ReadObjectAs(T** place) {
    Node* node = nullptr;
    ReadObject(&node);
    T* typed = dynamic_cast<T*>(node);
    if (node && !typed) MarkFailed();
    *place = typed;
  }

  // Takes an object out of the table, for a reader that deletes an object it has read.
  void Forget(const Node* object);
  // The objects met so far; a reader that fails may use it to delete what it made.
  const std::vector<std::pair<uint32_t, Node*>>& ObjectTable() const { return table_; }

 private:
  uint8_t reading_;
  uint64_t size_ = 0;  // the file's length when reading
  // The whole file, read where it lies in memory.
  class ByteReader : public std::streambuf {
   public:
    void Take(std::vector<uint8_t>&& bytes);

   protected:
    pos_type seekoff(off_type offset, std::ios::seekdir from, std::ios::openmode) override;
    pos_type seekpos(pos_type position, std::ios::openmode which) override;

   private:
    std::vector<uint8_t> bytes_;
  };

  // Writes go to the file or to memory; a read takes the whole file at once and then reads
  // from memory, saved games being small.
  std::filebuf file_;
  std::stringbuf memory_;
  ByteReader bytes_;
  std::vector<std::pair<uint32_t, Node*>> table_;
  uint32_t lastId_ = 0;
};

}  // namespace quor
