// mozc_emacs_helper, the line-based front end of the mozc converter (Debian
// package emacs-mozc-bin), as a child process. The mozc server it starts
// refuses to run as root and keeps its files in HOME: the helper runs with
// a private HOME, as the user nobody when this program is root. Stopping it
// ends exactly the processes it started and removes that HOME.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "sim/mozc/sexp.h"

class MozcHelper {
 public:
  MozcHelper() = default;
  ~MozcHelper() { stop(); }
  MozcHelper(const MozcHelper&) = delete;
  MozcHelper& operator=(const MozcHelper&) = delete;

  // Starts the helper and reads its greeting; false with a message when it
  // is not installed or does not answer.
  bool start(std::string& error);

  // Sends one command, e.g. "SendKey 1 97", and reads its answer. False
  // with a message when the helper has gone or does not answer in time.
  bool request(const std::string& command, Sexp& reply, std::string& error);

  void stop();
  bool running() const { return helper_ > 0; }

 private:
  bool readLine(std::string& line, std::string& error);
  void rememberServer();

  pid_t helper_ = -1;
  std::vector<pid_t> started_;  // processes the helper started (the server)
  bool serverSought_ = false;
  int channel_ = -1;  // the helper's standard input and output
  std::string home_;
  std::string unread_;
  long nextEventId_ = 1;
};
