// The settings file's text: which members a file holds, and the text a save writes. Pure code;
// CConfig does the file I/O and the UTF-16 conversion around it.
#pragma once

#include <optional>
#include <string>

#include "settings/pic_save_format.h"


// The values a settings file gave, each only when present with the expected kind.
struct ConfigFileValues {
    std::optional<std::string> picSavePath;  // UTF-8, up to any NUL it held
    std::optional<bool> hideMainWndWhenCapture;
    std::optional<bool> restoreMainWndAfterCapture;
    std::optional<PicSaveFormat> picSaveFormat;  // 1 for exactly "PNG", 0 for any other string
    std::optional<std::string> captureHotkey;    // the hotkey's text, not yet read
};

// Reads the file's bytes (a leading UTF-8 byte-order mark is skipped). Returns nothing when the
// text is not JSON or its root is not an object.
std::optional<ConfigFileValues> ParseConfigText(const std::string& bytes);

// The whole file as a save writes it: the members in their fixed order (the hotkey last),
// indented, CR LF line ends, no byte-order mark; an empty folder is left out. Empty only when
// memory runs out.
std::string FormatConfigText(const std::string& picSavePathUtf8, bool hideMainWndWhenCapture,
                             bool restoreMainWndAfterCapture, PicSaveFormat picSaveFormat,
                             const std::string& captureHotkey);

// Turns each LF into CR LF, as a text-mode write would.
std::string ToCrLf(const std::string& text);
