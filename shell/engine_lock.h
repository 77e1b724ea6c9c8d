// The one lock around the engine state. On desktop Windows two threads share
// the engine: the hook thread hands it every key event, and the UI thread
// changes the settings, switches the input mode, follows the screen and
// swaps in freshly loaded keymaps. The hook holds the lock for one
// handleKeyEvent; the UI thread holds it for each short change, and never
// across a modal loop, a message box, a file read, a question to another
// process or a request to the hook thread, so the hook never waits long on
// the UI thread. Windows CE runs everything on one thread; there the lock is
// never contended.
#pragma once

// Holds the lock from construction to destruction. The keys the engine
// queued meanwhile leave, in one SendInput call, after the lock is let go:
// injected keys pass through the hook thread, which may itself be waiting
// for the lock.
class EngineLock {
 public:
  EngineLock();
  ~EngineLock();
  EngineLock(const EngineLock&) = delete;
  EngineLock& operator=(const EngineLock&) = delete;
};
