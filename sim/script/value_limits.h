// How far a script may grow a value by naming a position or a count: arrays (an index assigned
// past the end, insertItem, .count) and bit arrays. Past it the script gets an index error rather
// than the host an allocation of gigabytes; appending one by one is not limited.
#pragma once

namespace sim::rt {

constexpr int kMaxElementIndex = 1 << 24;

}  // namespace sim::rt
