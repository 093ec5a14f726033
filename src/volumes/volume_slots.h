// The slot table of a split RAR set: one path per volume position, and the
// small operations that turn volume extensions into slot numbers and back.
// No platform calls.
//
// Slot n (0 to 99) holds the volume with the extension "r" and two digits of n;
// slot 100 holds the first volume, "rar". A slot whose first byte is 0 is empty.
#pragma once

enum {
    kNoSlot = -1,
    kFirstVolumeSlot = 100,
    kSlotCount = 101,
    kSlotPathSize = 260,
    kVolumeNameBuffer = 324,
};

// The slot an extension text names: 100 for a text beginning with "rar" (blanks
// skipped, any case), 0 to 99 for "r" followed by two digits or blanks, else -1.
// A null text gives -1.
int SlotIndexOf(const char* text);

// "rar" for 100, "r00" to "r99" for 0 to 99 (static buffer, overwritten by the
// next call); nullptr for any other number.
const char* SlotExtension(int slot);

void ClearSlots();

// Copies the path into the slot, cut to 259 bytes. A number outside 0 to 100
// stores nothing.
void StoreSlot(int slot, const char* path);

// The slot's own buffer; "" for a number outside 0 to 100.
const char* SlotPath(int slot);

// The path held in slot 100.
const char* FirstVolumePath();

// The user's name for the volume that a path's extension stands for: the last
// component of that slot's path ("" when the slot is empty). nullptr when the
// extension names no slot or the path has none.
const char* VolumeDisplayName(const char* path);

// Where the rightmost volume extension of a name begins: the last position,
// at least three bytes before the end, from which SlotIndexOf finds a slot.
// -1 when there is none.
int VolumeWindowOf(const char* name);

// The canonical extension of the rightmost volume extension that begins at
// least three bytes before the end of the name; nullptr when there is none.
const char* VolumeLabelOf(const char* name);

// Fills all 101 slots with the path under every volume extension (no check
// that the files exist) and returns the path with "rar" as its extension, in a
// static 324-byte buffer. nullptr, with every slot empty, when the extension is
// not exactly three bytes long.
const char* BuildVolumeNames(const char* path);
