// The console channel: every line the library prints goes to the stream it points at,
// standard output unless a ConsoleRedirect points it elsewhere for a while.
#pragma once

#include <ostream>
#include <sstream>
#include <string>

/// The stream console lines go to now: std::cout unless a redirect is in force.
std::ostream& console();

/// Points the console at `to` while it lives, then back at the stream it pointed at before,
/// so redirects nest. `to` must outlive the redirect.
class ConsoleRedirect {
public:
    explicit ConsoleRedirect(std::ostream& to);
    ~ConsoleRedirect();
    ConsoleRedirect(const ConsoleRedirect&) = delete;
    ConsoleRedirect& operator=(const ConsoleRedirect&) = delete;

private:
    std::ostream* previous_;
};

/// Keeps everything the console receives while it lives, for callers and tests that want
/// the text (or want it kept off the screen).
class ConsoleCapture {
public:
    ConsoleCapture() : redirect_(text_) {}
    /// What was written so far.
    std::string text() const { return text_.str(); }

private:
    std::ostringstream text_; // declared first: the redirect points at it
    ConsoleRedirect redirect_;
};
