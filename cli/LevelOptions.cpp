#include "cli/LevelOptions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "cli/Texts.h"

namespace {

// A day: longer fades are typing mistakes.
constexpr int kLongestFadeMs = 24 * 3600 * 1000;

}  // namespace

void AddLevelOptions(CLI::App& command, CutOptions* options, const std::string& fadeWhat) {
  // A NaN passes a range check: the gain's is written out.
  const double largestGainDb = kLargestGainSteps * kGainStepDb;
  command.add_option("--gain", options->gainDb, "change the level by DB, in whole steps of 1.5 dB (Layer III)")
      ->check(CLI::Validator(
          [largestGainDb](std::string& text) {
            const double db = std::strtod(text.c_str(), nullptr);
            char limit[16];
            std::snprintf(limit, sizeof limit, "%.1f", largestGainDb);
            return std::fabs(db) <= largestGainDb ? std::string() : clitext::GainOutOfRange(text, limit);
          },
          "DB"));
  command.add_option("--fade-in", options->fadeInMs, "fade " + fadeWhat + " in over its first MS milliseconds (Layer III)")
      ->check(CLI::Range(0, kLongestFadeMs));
  command.add_option("--fade-out", options->fadeOutMs, "fade " + fadeWhat + " out over its last MS milliseconds (Layer III)")
      ->check(CLI::Range(0, kLongestFadeMs));
  command.add_flag("--allow-clip", options->allowClip, "apply a positive --gain even where it clips");
}
