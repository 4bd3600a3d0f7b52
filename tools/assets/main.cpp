// quibbix-assetgen OUTPUT_DIR: paints the toy's four pictures and synthesises
// its jump sound, and writes them into OUTPUT_DIR. The build runs it, so the
// files beside the program are always the ones this source makes.
// quibbix-assetgen --icon FILE.png: paints the program's icon.
#include <cstdio>
#include <string>

#include "platform/standard_descriptors.h"
#include "scene/scene_files.h"

#include "app/tool_usage.h"
#include "tools/assets/file_formats.h"
#include "tools/assets/icon.h"
#include "tools/assets/jump_sound.h"
#include "tools/assets/pictures.h"

int main(int argc, char** argv) {
  openMissingStandardDescriptors();
  const char* usage = "usage: quibbix-assetgen OUTPUT_DIR | --icon FILE.png";
  if (asksForHelp(argc, argv)) return printUsage(usage);
  // An empty name would write into "/", and a name that starts with '-' is a
  // mistyped option ("--icon" without its file), not a folder: both are
  // refused before anything is written (a folder named so: ./-name).
  const auto isName = [](const char* argument) {
    return argument[0] != '\0' && argument[0] != '-';
  };
  if (argc == 3 && std::string(argv[1]) == "--icon" && isName(argv[2])) {
    const std::vector<uint8_t> png = assets::encodePng(assets::paintIcon());
    std::string reason = "the PNG encoder failed";
    if (png.empty() || !assets::writeFile(argv[2], png, reason)) {
      std::fprintf(stderr, "quibbix-assetgen: cannot write %s: %s\n", argv[2], reason.c_str());
      return 1;
    }
    return 0;
  }
  if (argc < 2) return printUsageError(usage, "missing OUTPUT_DIR");
  if (argc == 3 && std::string(argv[1]) == "--icon") {
    return printUsageError(usage, std::string("bad file name '") + argv[2] + "'");
  }
  if (argc > 2) return printUsageError(usage, "too many arguments");
  if (std::string(argv[1]) == "--icon") return printUsageError(usage, "missing value after --icon");
  if (argv[1][0] == '\0') return printUsageError(usage, "empty OUTPUT_DIR");
  if (!isName(argv[1])) {
    return printUsageError(usage, std::string("unknown option '") + argv[1] + "'");
  }
  const std::string dir = std::string(argv[1]) + "/";
  struct Output {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const Output outputs[] = {
      {kTextureFiles[kFloorPicture], assets::encodeBmp24(assets::paintFloor())},
      {kTextureFiles[kHamsterPicture], assets::encodeBmp24(assets::paintHamsterSkin())},
      {kTextureFiles[kEnvironmentPicture], assets::encodeBmp24(assets::paintSurroundings())},
      {kTextureFiles[kCutoutPicture], assets::encodeBmp24(assets::paintCutout())},
      {kJumpSoundFile, assets::encodeWav16(assets::synthesizeJumpSound(), assets::kSampleRate)},
  };
  for (const Output& out : outputs) {
    std::string reason;
    if (!assets::writeFile(dir + out.name, out.bytes, reason)) {
      std::fprintf(stderr, "quibbix-assetgen: cannot write %s%s: %s; that file was not changed\n",
                   dir.c_str(), out.name, reason.c_str());
      return 1;
    }
  }
  return 0;
}
