// How long the holder's typical composed text takes, end to end (text in, effect done), against a
// scene of 10,000 boxes; and, in the same run, Lua 5.4 loading and running an equivalent text over
// an equivalent table of 10,000 objects. Also: finding a node by name at 1,000 and 10,000 nodes.
#include "core/host_session.h"
#include "ifnpub.h"
#include "maxscript/maxscript.h"
#include "script/runtime.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double microsecondsPer(int n, Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / n;
}

std::string boxName(int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "Box%05d", i);
  return buf;
}

void buildScene(int nodes) {
  ExecuteMAXScriptScript("resetMaxFile #noPrompt", TRUE);
  for (int i = 1; i <= nodes; ++i) {
    std::string one = "box name:\"" + boxName(i) + "\"";
    ExecuteMAXScriptScript(one.c_str(), TRUE);
  }
}

std::string holderText(int i) {
  std::string n = boxName(i);
  return "try(at time 0 if isproperty $'" + n + "' #radius then $'" + n + "'.radius else undefined)catch(execute \"at time 0 $'" + n + "'.radius\")";
}

double timeHostTexts(int nodes, int texts) {
  std::vector<std::string> all;
  for (int i = 0; i < texts; ++i) all.push_back(holderText(1 + (i * 7919) % nodes));
  FPValue result;
  auto start = Clock::now();
  for (const std::string& t : all) ExecuteMAXScriptScript(t.c_str(), TRUE, &result);
  return microsecondsPer(texts, start);
}

double timeLuaTexts(int nodes, int texts) {
  lua_State* L = luaL_newstate();
  luaL_openlibs(L);
  lua_newtable(L);
  for (int i = 1; i <= nodes; ++i) {
    lua_newtable(L);
    lua_pushnumber(L, 10.0);
    lua_setfield(L, -2, "length");
    lua_setfield(L, -2, boxName(i).c_str());
  }
  lua_setglobal(L, "scene");
  std::vector<std::string> all;
  for (int i = 0; i < texts; ++i) {
    std::string n = boxName(1 + (i * 7919) % nodes);
    all.push_back("local ok, v = pcall(function() local o = scene['" + n +
                  "'] if o ~= nil and o.radius ~= nil then return o.radius else return nil end end) return v");
  }
  auto start = Clock::now();
  for (const std::string& t : all) {
    if (luaL_loadstring(L, t.c_str()) == LUA_OK) lua_pcall(L, 0, 1, 0);
    lua_settop(L, 0);
  }
  double us = microsecondsPer(texts, start);
  lua_close(L);
  return us;
}

double timeLookup(int nodes) {
  buildScene(nodes);
  const int lookups = 20000;
  std::vector<std::string> all;
  for (int i = 0; i < lookups; ++i) all.push_back("$'" + boxName(1 + (i * 7919) % nodes) + "'");
  auto start = Clock::now();
  for (const std::string& t : all) ExecuteMAXScriptScript(t.c_str(), TRUE);
  return microsecondsPer(lookups, start);
}

}  // namespace

int main(int argc, char** argv) {
  std::ostringstream problems;
  sim::startHost(argc > 1 ? argv[1] : "", problems);
  // Optional: node and text counts (for profiling runs); the figures above use the defaults.
  const int nodes = argc > 2 ? std::atoi(argv[2]) : 10000;
  const int texts = argc > 3 ? std::atoi(argv[3]) : 200000;

  double small = timeLookup(1000);
  double large = timeLookup(nodes);  // leaves the 10,000-box scene in place
  double host = timeHostTexts(nodes, texts);
  double lua = timeLuaTexts(nodes, texts);

  std::printf("holder text, %d boxes:   %.3f us per text (host script runtime)\n", nodes, host);
  std::printf("equivalent Lua 5.4 text: %.3f us per text\n", lua);
  std::printf("ratio host / Lua:        %.2f (goal: 0.50 or less)\n", host / lua);
  std::printf("$'name' lookup:          %.3f us at 1,000 nodes, %.3f us at 10,000 nodes (ratio %.2f)\n", small,
              large, large / small);
  sim::shutdownHost();
  return 0;
}
