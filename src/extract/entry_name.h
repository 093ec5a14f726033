// Whether a name an archive chose stays inside the destination folder.
// No platform calls.
#pragma once

// 1 when name (relative, '\' or '/' as separators) names a file inside the
// folder it is joined to; 0 for anything that could reach elsewhere: a drive
// or stream colon, a leading separator, a "." or ".." component, a component
// that Windows would change (trailing dots or blanks, or half a double-byte
// character at the end of the name), a device name, or an empty name or
// component.
int IsEntryNameInside(const char* name);
