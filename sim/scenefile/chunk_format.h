// The layout of the host's scene files, shared by the writer and the reader.
//
//   header      8 bytes "QZMSCENE", then the format version (4 bytes, little-endian)
//   chunks      id (2 bytes), length (8 bytes; the top bit marks a chunk that holds chunks),
//               then the content
//
// Top-level chunks, in this order:
//   kClassDirectory  one kClassEntry per class: super class id, class id (two words), then the
//                    class name and the module file name, each as a 4-byte length and its bytes
//   kMakers          one kMaker per saved object, in the order of their indices:
//                      kMakerClass    index into the class directory (4 bytes)
//                      kMakerData     what the object's Save wrote
//                      kMakerRefs     count, then the index of each reference's target (-1: none)
//                      kMakerAppData  (only when there is any) count, then per chunk: class id,
//                                     super class id, sub id, length, bytes
//   kScene           kHierarchy (count of indices, then node index and parent index, -1 for the root, parents
//                    before their children), kMeditSlots (count, index per slot, active slot),
//                    kSceneMaterials (count, indices), kSelection (count, indices), kTime (current
//                    time, animation range start and end), kEnvironment, kLayers (only when the
//                    layers are not those of a new scene: count, then per layer its name as a
//                    4-byte length and its bytes, flags (1 hidden, 2 frozen, 4 not renderable),
//                    wire colour, count and indices of its nodes; then the current layer's index;
//                    layer "0" first, nodes not named are on it)
// Chunks of ids a reader does not know are skipped, so later versions of the same format number
// can add chunks.
#pragma once

#include "ioapi.h"

#include <bit>
#include <cstddef>

namespace sim {

static_assert(std::endian::native == std::endian::little, "scene files are written in the machine's byte order");

inline constexpr char kSceneMagic[8] = {'Q', 'Z', 'M', 'S', 'C', 'E', 'N', 'E'};
inline constexpr unsigned kSceneVersion = 1;
inline constexpr size_t kSceneHeaderSize = sizeof kSceneMagic + 4;
inline constexpr size_t kChunkHeaderSize = sizeof(USHORT) + sizeof(ULONGLONG);
inline constexpr ULONGLONG kContainerBit = ULONGLONG(1) << 63;
// Chunks nest no deeper than this; a file that does is damaged (and would exhaust the stack).
inline constexpr int kMaxChunkDepth = 200;

enum SceneChunk : USHORT {
  kClassDirectory = 0x0100,
  kClassEntry = 0x0101,
  kMakers = 0x0200,
  kMaker = 0x0201,
  kMakerClass = 0x0202,
  kMakerData = 0x0203,
  kMakerRefs = 0x0204,
  kMakerAppData = 0x0205,
  kScene = 0x0300,
  kHierarchy = 0x0301,
  kMeditSlots = 0x0302,
  kSceneMaterials = 0x0303,
  kSelection = 0x0304,
  kTime = 0x0305,
  kEnvironment = 0x0306,  // background and ambient colours; files without it have both black
  kLayers = 0x0307,       // the layers; files without it have every node on layer "0"
};

}  // namespace sim
