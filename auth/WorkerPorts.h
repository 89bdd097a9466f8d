// What the authentication worker needs from the platform besides the two libraries: the
// program's own directory as the current directory (the supplicant reads and writes its
// certificate and key files there by relative names), and a way to tell the user about a
// certificate that cannot be exported. Win32 implementations live in auth/win32/; tests
// substitute recording doubles.
#pragma once

#include <string>

namespace hx {

class ProgramDirectoryPort {
public:
    virtual ~ProgramDirectoryPort() = default;
    // Makes the directory of the running executable the process's current directory.
    virtual void EnterProgramDirectory() = 0;
};

class WorkerMessagePort {
public:
    virtual ~WorkerMessagePort() = default;
    // Shows text in a message box with an OK button and the exclamation icon, captioned
    // with the application name. Called on the worker's thread; must return at once, so
    // that a Stop worker waiting for that thread is never held up by the user.
    virtual void ShowExclamation(const std::string& text) = 0;
};

// How one attempt to obtain keys ended. An attempt counts as answered when the adapter was
// associated during it: the access point let it in and, for WPA-PSK, sends message 1 of
// the handshake at once (the frames themselves pass through the supplicant unseen).
enum class AttemptEnd {
    KeyInstalled,       // a pairwise key was installed, the link went later
    RefusedAfterAnswer, // associated, and no pairwise key before the link went or the try was given up
    Unanswered,         // never associated: out of range, or a network that lets no one in
};

// What became of the worker's attempts to obtain keys for the setting it was started with.
// Nothing is reported for a worker that is stopped: a join the user replaced or ended is
// not a failure.
class JoinOutcomePort {
public:
    virtual ~JoinOutcomePort() = default;
    // UI thread: a worker starts for a newly applied setting (no worker thread runs now).
    virtual void JoinStarted(const std::string& ssid) = 0;
    // UI thread: the worker was stopped and its thread has ended.
    virtual void JoinStopped() = 0;
    // Worker thread: one key negotiation ended with the link lost, or an 802.1X attempt was
    // given up.
    virtual void AttemptEnded(AttemptEnd end) = 0;
    // Worker thread: the worker ended by itself, before any key negotiation could run.
    virtual void EndedWithoutKeys() = 0;
};

}  // namespace hx
