// Resource ids of the program.
#pragma once

#define IDI_APP_ICON 107
#define IDI_APP_ICON_DEFAULT 32512  // the id the text editor's window class loads its icon by
#define IDR_SKIN_ZIP 130            // resource type "ZIPRES"
