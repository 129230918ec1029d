#include "tools/standins/standins.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "engine/scene/animation.h"
#include "game/animation/animation_data.h"
#include "game/scenes/content_data.h"
#include "tools/standins/file_formats.h"
#include "tools/standins/screen_pictures.h"
#include "tools/standins/sounds.h"

namespace standins {

namespace {

constexpr int kSceneCount = 13;

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

// Written beside and then moved over the target, so that no reader ever sees half a file.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string part = path + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) return false;
  }
  return std::rename(part.c_str(), path.c_str()) == 0;
}

std::map<std::string, uint64_t> ReadList(const std::string& path) {
  std::map<std::string, uint64_t> list;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    uint64_t fingerprint = 0;
    std::string name;
    if (fields >> std::hex >> fingerprint && std::getline(fields >> std::ws, name))
      list[name] = fingerprint;
  }
  return list;
}

}  // namespace

std::vector<WantedFile> WantedFiles() {
  std::vector<WantedFile> files;
  std::set<std::string> named;
  auto want = [&](WantedFile file) {
    if (named.insert(file.path).second) files.push_back(std::move(file));
  };
  for (int entry = 0; entry < quor::kAnimationTableSize; ++entry) {
    const game::EntryData& data = game::AnimationEntryData(entry);
    for (uint16_t a = 0; a < data.count; ++a) {
      const game::ActionData& action = data.actions[a];
      for (uint16_t f = 0; f < action.count; ++f) {
        const game::FrameData& frame = action.frames[f];
        want({std::string("BITMAPS/") + frame.bitmap, FileKind::kFrame,
              FrameRequest{entry, a, f, action.count, &frame}, nullptr, frame.bitmap});
      }
    }
  }
  for (int id = 1; id <= kSceneCount; ++id) {
    const game::SceneContent& content = game::SceneContentData(id);
    for (const game::MapRow& map : content.maps)
      want({std::string("BITMAPS/") + map.bitmap, FileKind::kMap, {}, &map, map.bitmap});
    for (const game::SoundRow& sound : content.streamedSounds)
      want({std::string("Sounds/") + sound.file, FileKind::kMusic, {}, nullptr, sound.file});
    for (const game::SoundRow& sound : content.sounds)
      want({std::string("Sounds/") + sound.file, FileKind::kEffect, {}, nullptr, sound.file});
  }
  return files;
}

std::vector<uint8_t> MakeFile(const WantedFile& file) {
  switch (file.kind) {
    case FileKind::kFrame:
      return EncodeBmp(FramePicture(file.frame));
    case FileKind::kMap:
      return EncodeBmp(MapPicture(*file.map));
    case FileKind::kEffect:
      return EncodeWave(EffectSamples(file.name));
    case FileKind::kMusic:
      return EncodeWave(MusicSamples(file.name));
  }
  return {};
}

WriteReport WriteStandins(const std::string& folder) {
  return WriteStandins(folder, WantedFiles());
}

WriteReport WriteStandins(const std::string& folder, const std::vector<WantedFile>& files) {
  WriteReport report;
  for (const char* sub : {"", "/BITMAPS", "/Sounds"}) mkdir((folder + sub).c_str(), 0755);
  const std::string listPath = folder + "/" + kStandinList;
  const std::map<std::string, uint64_t> before = ReadList(listPath);
  std::map<std::string, uint64_t> ours;
  for (const WantedFile& file : files) {
    const std::vector<uint8_t> bytes = MakeFile(file);
    const std::string target = folder + "/" + file.path;
    std::vector<uint8_t> present;
    if (ReadFile(target, present)) {
      if (present == bytes) {
        ours[file.path] = Fingerprint(bytes);
        ++report.unchanged;
        continue;
      }
      auto listed = before.find(file.path);
      if (listed == before.end() || listed->second != Fingerprint(present)) {
        ++report.kept;
        continue;
      }
    }
    if (!WriteFile(target, bytes)) {
      ++report.failed;
      continue;
    }
    ours[file.path] = Fingerprint(bytes);
    ++report.written;
  }
  std::ofstream list(listPath, std::ios::trunc);
  for (const auto& [path, fingerprint] : ours)
    list << std::hex << fingerprint << ' ' << path << '\n';
  if (!list) ++report.failed;
  return report;
}

}  // namespace standins
