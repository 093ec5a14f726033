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

// How the RAR file at path numbers its volumes, from its own main header
// (a RarNaming); kRarNotAVolume when it cannot be read.
int RarNamingOfFile(const char* path);

// For a volume of a set numbered in the name ("name.partN.rar"): fills slot
// 100 with part 1, slot 0 with part 2 and so on, and returns part 1's path
// (static buffer); nullptr when the name has no part number.
const char* BuildPartVolumeNames(const char* path);

// The label a file gets in the volume list: its position in a set numbered
// in the name, else the volume extension its name ends in; nullptr for none.
const char* VolumeLabelForFile(const char* path);
