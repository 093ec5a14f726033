// Which volumes of a dropped file's set lie beside it. Looks at the file system.
#pragma once

// The three ways of naming a set's volumes, tried in this order.
enum {
    kSiblingsByExtension = 1,  // a volume extension somewhere in the name
    kSiblingsByCharacter = 2,  // one character: 'r' for the first volume, 0-9 after
    kSiblingsSingleFile = 3,   // the file alone as the first volume
};

// Clears the slots and stores the set's existing volumes. 1 when the mode
// applies to the name (even when no volume was found), 0 when it does not.
int FindSiblingVolumes(int mode, const char* path);
