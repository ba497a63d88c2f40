// Texts the dialogs compute: the feedback window's character count and the about window's
// build date. Pure, so the host tests check them.
#pragma once

#include <cstddef>
#include <string>

// The most characters (UTF-16 code units) a feedback text may hold.
constexpr std::size_t kFeedbackMaxChars = 200;

// "17/200": how many of the allowed characters the feedback text uses.
std::wstring FeedbackCountText(std::size_t length);

// "2026-12-07": a calendar date as the about window shows it (year four digits, month and day
// two, zero-padded).
std::wstring BuildDateText(int year, int month, int day);
