// The holder's kinds of text end to end (text in, effect done) against Lua 5.4 doing the same steps
// in the same run: each text of ours through ExecuteMAXScriptScript on the holder scene, each Lua
// text loaded (compiled) and run with luaL_loadbuffer + lua_pcall over a Lua table that stands in
// for the same scene. Every text is a fresh one (its own box and values), so Lua compiles each one,
// as our runtime meets each one anew. Prints per kind the time per text on each side and their
// ratio, ours / Lua; the goal is 0.25 or less. "one of each kind" adds one text of each kind.
//
// Under callgrind each kind on each side is one dump of its own, named "ours <kind>" and
// "lua <kind>"; bench/text_vs_lua_callgrind.sh turns them into instructions per text.
//
//   text_vs_lua_bench [N [repeats]]   N boxes with holders and N texts of each kind (default 10000),
//                                      best of `repeats` runs (default 3, 1 under valgrind)
#include "core/host_session.h"
#include "holder_bench_scene.h"
#include "maxscript/maxscript.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_section.h"

namespace {

using bench::Clock;
using bench::Section;
using bench::seconds;


bool underValgrind() {
#ifdef QZM_BENCH_CALLGRIND
  return RUNNING_ON_VALGRIND != 0;
#else
  return false;
#endif
}

// Texts that failed on one side: a bench that times errors measures the wrong thing, so they are
// counted and shown with the first one's message.
struct Failures {
  int count = 0;
  std::string first;
  void add(const std::string& what) {
    if (count++ == 0) first = what;
  }
};

// The texts run in chunks of kChunk, each chunk timed on its own: the figure is the best chunk's
// time per text, so that a chunk that lost the processor to another program does not count. A
// chunk holds every fourth box's animated height as often as the whole run does.
constexpr size_t kChunk = 100;

template <class RunOne>
double bestPerText(const std::vector<std::string>& texts, RunOne runOne) {
  double best = 1e30;
  for (size_t from = 0; from < texts.size(); from += kChunk) {
    const size_t to = std::min(texts.size(), from + kChunk);
    const auto start = Clock::now();
    for (size_t i = from; i < to; ++i) runOne(texts[i]);
    best = std::min(best, seconds(start) / static_cast<double>(to - from));
  }
  return best;
}

double runOurs(const std::string& kind, const std::vector<std::string>& texts, Failures& failed) {
  ExecuteMAXScriptScript("QZMIDA = #()", TRUE);
  Section timed("ours " + kind);
  return bestPerText(texts, [&](const std::string& t) {
    if (!ExecuteMAXScriptScript(t.c_str(), TRUE)) failed.add(t);
  });
}

double runLua(lua_State* L, const std::string& kind, const std::vector<std::string>& texts, Failures& failed) {
  luaL_dostring(L, "QZMIDA = {}");
  lua_settop(L, 0);
  Section timed("lua " + kind);
  return bestPerText(texts, [&](const std::string& t) {
    if (luaL_loadbuffer(L, t.data(), t.size(), "text") != LUA_OK || lua_pcall(L, 0, LUA_MULTRET, 0) != LUA_OK) {
      const char* message = lua_tostring(L, -1);
      failed.add(t + (message ? message : ""));
    }
    lua_settop(L, 0);
  });
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int repeats = argc > 2 ? std::atoi(argv[2]) : underValgrind() ? 1 : 3;
  if (n <= 0 || repeats <= 0) {
    std::cerr << "usage: text_vs_lua_bench [N [repeats]]\n";
    return 2;
  }
  std::ostringstream problems;
  if (sim::startHost(QZM_PLUGIN_DIR, problems) == 0) {
    std::cerr << "text_vs_lua_bench: no plug-ins loaded\n" << problems.str();
    return 1;
  }
  if (!bench::BuildHolderScene(n)) {
    std::cerr << "text_vs_lua_bench: the scene was not built\n";
    return 1;
  }
  lua_State* L = luaL_newstate();
  luaL_openlibs(L);
  if (luaL_dostring(L, bench::LuaStandInText(n).c_str()) != LUA_OK) {
    std::cerr << "text_vs_lua_bench: the Lua scene was not built: " << lua_tostring(L, -1) << "\n";
    return 1;
  }

  std::printf("%d boxes with holders, %d texts of each kind, best chunk of %zu of %d runs\n", n, n,
              std::min(kChunk, static_cast<size_t>(n)), repeats);
  std::printf("%-26s %10s %10s %10s\n", "", "ours us", "Lua us", "ours/Lua");
  double oursAll = 0, luaAll = 0;
  bool clean = true;
  for (const bench::TextKind& kind : bench::TextKinds()) {
    std::vector<std::string> ours, lua;
    for (int i = 1; i <= n; ++i) {
      ours.push_back(kind.host(i));
      lua.push_back(kind.lua(i));
    }
    double oursBest = 1e30, luaBest = 1e30;
    Failures oursFailed, luaFailed;
    for (int r = 0; r < repeats; ++r) {
      oursBest = std::min(oursBest, runOurs(kind.name, ours, oursFailed));
      luaBest = std::min(luaBest, runLua(L, kind.name, lua, luaFailed));
    }
    oursAll += oursBest;
    luaAll += luaBest;
    std::printf("%-26s %10.2f %10.2f %10.2f\n", kind.name, oursBest * 1e6, luaBest * 1e6, oursBest / luaBest);
    for (const auto& [side, failed] : {std::pair{"ours", &oursFailed}, std::pair{"Lua", &luaFailed}}) {
      if (failed->count == 0) continue;
      clean = false;
      std::printf("  %d of %s texts failed, the first: %s\n", failed->count, side, failed->first.c_str());
    }
    std::fflush(stdout);
  }
  std::printf("%-26s %10.2f %10.2f %10.2f   (goal: 0.25 or less)\n", "one of each kind", oursAll * 1e6, luaAll * 1e6,
              oursAll / luaAll);
  lua_close(L);
  sim::shutdownHost();
  return clean ? 0 : 1;
}
