#include "sim/mozc/mozc_helper.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

constexpr int kAnswerTimeoutMs = 20000;
constexpr int kEndTimeoutMs = 5000;

std::string findHelper() {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "";
  dirs += ":/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t end = dirs.find(':', start);
    const std::string dir = dirs.substr(start, end == std::string::npos ? end : end - start);
    if (!dir.empty()) {
      const std::string candidate = dir + "/mozc_emacs_helper";
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return "";
}

// Parent process id of `pid`, or -1.
pid_t parentOf(pid_t pid) {
  char path[64];
  std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) return -1;
  char buffer[1024];
  const size_t length = std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  buffer[length] = '\0';
  // The command name in parentheses may hold blanks: read after its end.
  const std::string stat(buffer);
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  char state = 0;
  int parent = -1;
  if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) != 2) return -1;
  return parent;
}

std::vector<pid_t> childrenOf(pid_t parent) {
  std::vector<pid_t> children;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return children;
  while (dirent* entry = readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (pid <= 0 || *end != '\0') continue;
    if (parentOf(static_cast<pid_t>(pid)) == parent) children.push_back(static_cast<pid_t>(pid));
  }
  closedir(proc);
  return children;
}

// Waits for a child of this process to end; false when it is still running
// after the time given.
bool waitForEnd(pid_t pid, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void endProcess(pid_t pid) {
  kill(pid, SIGTERM);
  if (!waitForEnd(pid, kEndTimeoutMs)) {
    kill(pid, SIGKILL);
    waitForEnd(pid, kEndTimeoutMs);
  }
}

}  // namespace

bool MozcHelper::start(std::string& error) {
  stop();
  const std::string program = findHelper();
  if (program.empty()) {
    error =
        "mozc is not installed: mozc_emacs_helper (Debian package emacs-mozc-bin, installed by "
        "scripts/install-deps) was not found";
    return false;
  }
  // Processes the helper leaves behind when it ends come back to this
  // process, which can then end them itself.
  prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0);

  uid_t uid = getuid();
  gid_t gid = getgid();
  const bool root = geteuid() == 0;
  if (root) {
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) {
      error = "mozc cannot run as root and there is no user nobody to run it as";
      return false;
    }
    uid = nobody->pw_uid;
    gid = nobody->pw_gid;
  }
  char home[] = "/tmp/padquiltkana-mozc-XXXXXX";
  if (mkdtemp(home) == nullptr) {
    error = "cannot make a home folder for mozc in /tmp";
    return false;
  }
  home_ = home;
  const std::string profile = home_ + "/.mozc";
  if (mkdir(profile.c_str(), 0700) != 0 ||
      (root && (chown(home, uid, gid) != 0 || chown(profile.c_str(), uid, gid) != 0))) {
    error = "cannot prepare the home folder " + home_ + " for mozc";
    stop();
    return false;
  }

  int sockets[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
    error = "cannot make a channel to mozc_emacs_helper";
    stop();
    return false;
  }
  const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const std::string homeVariable = "HOME=" + home_;
  const char* const environment[] = {homeVariable.c_str(), "PATH=/usr/bin:/bin", "LANG=C.UTF-8",
                                     nullptr};
  const char* const arguments[] = {program.c_str(), nullptr};
  const pid_t child = fork();
  if (child == 0) {
    // Only async-signal-safe calls from here to exec.
    if (dup2(sockets[1], 0) < 0 || dup2(sockets[1], 1) < 0) _exit(127);
    if (quiet >= 0) dup2(quiet, 2);
    if (chdir(home) != 0) _exit(127);
    if (root && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)) _exit(127);
    prctl(PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0);
    execve(program.c_str(), const_cast<char* const*>(arguments),
           const_cast<char* const*>(environment));
    _exit(127);
  }
  close(sockets[1]);
  if (quiet >= 0) close(quiet);
  if (child < 0) {
    close(sockets[0]);
    error = "cannot start mozc_emacs_helper";
    stop();
    return false;
  }
  helper_ = child;
  channel_ = sockets[0];
  std::string greeting;
  if (!readLine(greeting, error)) {
    error = "mozc_emacs_helper did not start: " + error;
    stop();
    return false;
  }
  return true;
}

bool MozcHelper::request(const std::string& command, Sexp& reply, std::string& error) {
  if (!running()) {
    error = "mozc_emacs_helper is not running";
    return false;
  }
  const long id = nextEventId_++;
  const std::string line = "(" + std::to_string(id) + " " + command + ")\n";
  size_t sent = 0;
  while (sent < line.size()) {
    const ssize_t n = send(channel_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = "mozc_emacs_helper has gone";
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  // Answers carry the event id; anything else (a stray line) is skipped.
  for (;;) {
    std::string answer;
    if (!readLine(answer, error)) return false;
    if (!parseSexp(answer, reply)) continue;
    if (sexpEntryText(reply, "emacs-event-id") != std::to_string(id)) continue;
    // The first command starts the server.
    if (!serverSought_) rememberServer();
    serverSought_ = true;
    return true;
  }
}

bool MozcHelper::readLine(std::string& line, std::string& error) {
  for (;;) {
    const size_t end = unread_.find('\n');
    if (end != std::string::npos) {
      line = unread_.substr(0, end);
      unread_.erase(0, end + 1);
      return true;
    }
    pollfd ready{channel_, POLLIN, 0};
    const int polled = poll(&ready, 1, kAnswerTimeoutMs);
    if (polled < 0 && errno == EINTR) continue;
    if (polled == 0) {
      error = "no answer from mozc_emacs_helper";
      return false;
    }
    char buffer[4096];
    const ssize_t n = polled > 0 ? recv(channel_, buffer, sizeof buffer, 0) : -1;
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = "mozc_emacs_helper has gone";
      return false;
    }
    unread_.append(buffer, static_cast<size_t>(n));
  }
}

void MozcHelper::rememberServer() {
  for (pid_t pid : childrenOf(helper_)) {
    if (std::find(started_.begin(), started_.end(), pid) == started_.end()) started_.push_back(pid);
  }
}

void MozcHelper::stop() {
  if (helper_ > 0) {
    rememberServer();
    // End of input ends the helper.
    shutdown(channel_, SHUT_WR);
    if (!waitForEnd(helper_, kEndTimeoutMs)) endProcess(helper_);
    helper_ = -1;
  }
  // The helper's children are now this process's own: end them.
  for (pid_t pid : started_) {
    if (parentOf(pid) == getpid()) endProcess(pid);
  }
  started_.clear();
  serverSought_ = false;
  if (channel_ >= 0) close(channel_);
  channel_ = -1;
  unread_.clear();
  if (!home_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
    home_.clear();
  }
}
