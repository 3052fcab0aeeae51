// Where `qzmhost render` writes each frame: a path whose file name holds a run of '#', which becomes
// the frame number padded with zeros to the run's length (printf's "%0Nd": "shot_####.png" gives
// shot_0007.png, shot_-007.png, shot_12345.png). A name without '#' is written as it is, which suits
// one frame only: the frames of a longer range would overwrite each other, so that is refused.
// The format comes from the name's ending.
#pragma once

#include <string>

class OutputPattern {
 public:
  // False, with `error` a sentence, when the name has no known image ending, more than one run of
  // '#', or no run while `frames` is more than one.
  bool parse(const std::string& pattern, long long frames, std::string& error);

  std::string fileFor(int frame) const;
  // The folder the files go to ("." for a bare name).
  std::string folder() const { return folder_; }

 private:
  std::string folder_;
  std::string before_, after_;  // the path around the run of '#'
  int width_ = 0;               // 0: no run
};
