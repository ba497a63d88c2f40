// The proof that the setup started as update.exe was started by the running program: a random
// token on its command line ("/PROOF=<token>") that names a mutex this process holds until it
// ends. The setup updates the program's folder in place only while that mutex exists
// (installer/screenshot.nsi opens it by the same name); a copy of the signed setup that was only
// renamed update.exe has no such mutex behind it and runs as an ordinary setup.
#pragma once

#include <string>

// The mutex's name is this prefix and the token.
constexpr wchar_t kUpdaterProofPrefix[] = L"Screenshot.UpdateProof.";

// The token, 32 hexadecimal digits: made, with its mutex, at the first call, and the same for the
// rest of the process's life. Empty when no random bytes or no mutex could be had: then no
// updater may be started.
const std::wstring& HeldUpdaterProof();
