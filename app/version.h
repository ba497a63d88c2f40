// The product version, written into the version resource and read back at run time.
#pragma once

#define SCREENSHOT_VERSION_MAJOR 1
#define SCREENSHOT_VERSION_MINOR 0
#define SCREENSHOT_VERSION_PATCH 0
#define SCREENSHOT_VERSION_BUILD 1
#define SCREENSHOT_VERSION_TEXT "1.0.0.1"
