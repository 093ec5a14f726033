#include "volumes/volume_siblings.h"

#include <cstring>

#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"
#include "volumes/volume_slots.h"

namespace {

bool IsFile(const char* path) { return ProbePath(path) == 0; }

// The volume extension inside the name is rewritten in place; only its three
// bytes change, so whatever follows it (".bak") stays part of every candidate.
int ByExtension(char* path, char* name)
{
    const int window = VolumeWindowOf(name);
    if (window < 0) return 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        std::memcpy(name + window, SlotExtension(slot), 3);
        if (IsFile(path)) StoreSlot(slot, path);
    }
    return 1;
}

bool IsVolumeCharacter(char byte) { return byte == 'R' || byte == 'r' || (byte >= '0' && byte <= '9'); }

// One character of the name marks the volume: 'r' for the first, '0' to '9'
// for the ten after it. The name's first byte never counts, so that a name
// such as "1abc" is not taken for a volume set.
int ByCharacter(char* path, char* name)
{
    const int length = static_cast<int>(std::strlen(name));
    int position = length - 1;
    while (position >= 1 && !IsVolumeCharacter(name[position])) --position;
    if (position < 1) return 0;
    char& mark = name[position];
    mark = 'r';
    if (!IsFile(path)) return 0;
    StoreSlot(kFirstVolumeSlot, path);
    for (int digit = 0; digit <= 9; ++digit) {
        mark = static_cast<char>('0' + digit);
        if (IsFile(path)) StoreSlot(digit, path);
    }
    return 1;
}

}  // namespace

int FindSiblingVolumes(int mode, const char* path)
{
    ClearSlots();
    char work[kVolumeNameBuffer];
    BoundedCopy(work, path, sizeof work);
    char* name = LastPathComponent(work);
    switch (mode) {
    case kSiblingsByExtension: return ByExtension(work, name);
    case kSiblingsByCharacter: return ByCharacter(work, name);
    case kSiblingsSingleFile:
        StoreSlot(kFirstVolumeSlot, path);
        return 1;
    default: return 0;
    }
}
