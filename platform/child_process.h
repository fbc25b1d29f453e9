// SPDX-License-Identifier: GPL-3.0-or-later
// A function run in a child process under limits, so that a library reading a damaged file can
// neither crash the program, nor take the machine's memory or processor, nor write on its
// terminal. The child sends its bytes through a pipe; what it prints goes to a file.
#ifndef LUMVANE_PLATFORM_CHILD_PROCESS_H_
#define LUMVANE_PLATFORM_CHILD_PROCESS_H_

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace lumvane {

class ChildProcess {
 public:
  // What runs in the child: it writes to `out` (SendToParent) and returns.
  using Body = std::function<void(int out)>;

  ChildProcess() = default;
  ~ChildProcess() { End(); }  // a child that still runs is killed
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `body` in a child under limits: no core file, 1 GB of address space, a minute of
  // processor time, `printed_kept` bytes of printing (writes past them fail). The failure's
  // message is the system's reason.
  Status Start(const Body& body, size_t printed_kept);

  enum class Read { kData, kEnded, kQuiet };
  // Appends what the child has sent to `into`, waiting at most `wait`: kData, kEnded when the
  // pipe closed (or broke), kQuiet when nothing came in time.
  Read ReadSome(std::string* into, std::chrono::milliseconds wait);

  // True when the child has printed all it may.
  bool PrintedItsFill() const;
  // The first line the child printed, or "".
  std::string FirstPrintedLine() const;
  // Why the child ended: the first line it printed, else "its reader failed (SIGNAL)" when a
  // signal ended it, else "". Closes the pipe first, so that a child still writing ends.
  std::string HowItEnded();
  // Kills a child that still runs and waits for it.
  void End();

 private:
  pid_t child_ = -1;
  int out_ = -1;      // the child's bytes
  int printed_ = -1;  // what the child printed
  size_t printed_kept_ = 0;
};

// The child's side: writes all of `bytes` to the parent; a child whose parent is gone ends.
void SendToParent(int out, std::string_view bytes);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_CHILD_PROCESS_H_
