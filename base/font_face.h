// The face the program's windows and the capture overlay write their texts in ("微软雅黑").
#pragma once

constexpr wchar_t kUiFontFace[] = L"\x5FAE\x8F6F\x96C5\x9ED1";
