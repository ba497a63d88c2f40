// Whether files can be made in a folder, found out by making one: attributes, access lists,
// read-only drives and Windows' Controlled Folder Access all answer the same way then.
#pragma once

#include <string>

// Makes a uniquely named, hidden, empty file in folder and deletes it again. True when it could
// be made. An empty folder is never writable.
bool CanCreateFilesIn(const std::wstring& folder);
