// Saving and loading a scene of 10,000 nodes, each carrying a helper whose parameter block is the
// size of a busy holder's: 20 string tables of 10 entries of 200 bytes. Figures in MB/s of scene
// file, each way: to and from memory (the format's own speed) and to and from a file.
#include "core/class_registry.h"
#include "core/host_session.h"
#include "inode.h"
#include "iparamb2.h"
#include "maxapi.h"
#include "object.h"
#include "scenefile/scene_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

namespace {

constexpr int kNodes = 10000;
constexpr int kTables = 20;
constexpr int kEntries = 10;
constexpr int kEntryBytes = 200;

class RecordHolder;

class RecordHolderDesc : public ClassDesc2 {
 public:
  int IsPublic() override { return FALSE; }
  void* Create(BOOL loading) override;
  const TCHAR* ClassName() override { return "BenchRecordHolder"; }
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  Class_ID ClassID() override { return Class_ID(0x6be5ce11, 0x1); }
  const TCHAR* Category() override { return "Bench"; }
};
RecordHolderDesc holderDesc;

ParamBlockDesc2* recordBlock() {
  static ParamBlockDesc2* desc = [] {
    auto* d = new ParamBlockDesc2(0, _T("records"), 0, &holderDesc, P_AUTO_CONSTRUCT, 0, p_end);
    static std::string names[kTables];
    for (int i = 0; i < kTables; ++i) {
      names[i] = "table" + std::to_string(i);
      d->AddParam(i, names[i].c_str(), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, 0, p_end);
    }
    return d;
  }();
  return desc;
}

class RecordHolder : public HelperObject {
 public:
  explicit RecordHolder(BOOL loading) {
    if (!loading) holderDesc.MakeAutoParamBlocks(this);
  }
  Class_ID ClassID() override { return holderDesc.ClassID(); }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? pblock : nullptr; }
  void SetReference(int i, RefTargetHandle t) override {
    if (i == 0) pblock = dynamic_cast<IParamBlock2*>(t);
  }
  int NumParamBlocks() override { return 1; }
  IParamBlock2* GetParamBlock(int) override { return pblock; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  IParamBlock2* pblock = nullptr;
};

void* RecordHolderDesc::Create(BOOL loading) { return static_cast<Animatable*>(new RecordHolder(loading)); }

void buildScene() {
  static bool built = [] {
    std::ostringstream ignored;
    sim::startHost("", ignored);
    recordBlock();
    sim::ClassRegistry::instance().add(&holderDesc);
    Interface* ip = GetCOREInterface();
    std::string text(kEntryBytes, 'x');
    for (int k = 0; k < kEntryBytes; k += 20) text[static_cast<size_t>(k)] = '\x01';  // field separators
    const TCHAR* entries[kEntries];
    for (const TCHAR*& e : entries) e = text.c_str();
    for (int n = 0; n < kNodes; ++n) {
      auto* h = static_cast<RecordHolder*>(static_cast<Animatable*>(ip->CreateInstance(HELPER_CLASS_ID, holderDesc.ClassID())));
      ip->CreateObjectNode(h);
      for (int t = 0; t < kTables; ++t) h->pblock->Append(static_cast<ParamID>(t), kEntries, entries);
    }
    return true;
  }();
  (void)built;
}

void SaveToMemory(benchmark::State& state) {
  buildScene();
  sim::Bytes bytes;
  std::string error;
  for (auto _ : state) {
    if (!sim::writeScene(bytes, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

void LoadFromMemory(benchmark::State& state) {
  buildScene();
  sim::Bytes bytes;
  std::string error;
  sim::writeScene(bytes, error);
  for (auto _ : state) {
    sim::SceneLoadResult r = sim::readScene(bytes.data(), bytes.size());
    if (!r.ok) state.SkipWithError(r.error.c_str());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

std::string benchFile() { return (std::filesystem::temp_directory_path() / "qzm_scene_bench.max").string(); }

void SaveToFile(benchmark::State& state) {
  buildScene();
  std::string error;
  for (auto _ : state)
    if (!sim::saveSceneFile(benchFile(), error)) state.SkipWithError(error.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(std::filesystem::file_size(benchFile())));
}

void LoadFromFile(benchmark::State& state) {
  buildScene();
  std::string error;
  sim::saveSceneFile(benchFile(), error);
  for (auto _ : state) {
    sim::SceneLoadResult r = sim::loadSceneFile(benchFile());
    if (!r.ok) state.SkipWithError(r.error.c_str());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(std::filesystem::file_size(benchFile())));
  std::filesystem::remove(benchFile());
}

BENCHMARK(SaveToMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(LoadFromMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(SaveToFile)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(LoadFromFile)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
