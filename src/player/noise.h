#ifndef TESSARY_PLAYER_NOISE_H
#define TESSARY_PLAYER_NOISE_H

// Keeps the windowing library's routine noise off standard error while letting through what
// the user must see (a picture it could not read, say).
//
// How to use:
//   NoiseFilter filter;                  // for the program's life: filters sf::err()
//   ... create the window ...
//   if (filter.vsync_unsupported) ...    // the driver said it cannot sync to the display

#include <streambuf>
#include <string>

class NoiseFilter : public std::streambuf {
 public:
  NoiseFilter();
  ~NoiseFilter() override;
  NoiseFilter(const NoiseFilter&) = delete;
  NoiseFilter& operator=(const NoiseFilter&) = delete;

  // Set once the library has said that vertical sync cannot be set here.
  bool vsync_unsupported = false;
  // While set, the library's report that a context differs from the settings asked for (three
  // lines) is dropped: the player checks what it got and says so in its own line.
  bool quiet_context_report = false;

 protected:
  int overflow(int c) override;
  int sync() override;

 private:
  // Passes the collected line on to standard error unless it is known noise.
  void FlushLine();

  std::string line_;
  std::streambuf* previous_ = nullptr;
};

#endif
