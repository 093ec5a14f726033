#include "volumes/volume_siblings.h"

#include <cstring>

#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"
#include "volumes/rar_volume_header.h"
#include "volumes/volume_slots.h"

#include <windows.h>

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

int RarNamingOfFile(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return kRarNotAVolume;
    unsigned char bytes[kRarHeaderBytes];
    DWORD got = 0;
    if (!ReadFile(file, bytes, sizeof bytes, &got, nullptr)) got = 0;
    CloseHandle(file);
    return RarNamingOf(bytes, static_cast<int>(got));
}

const char* BuildPartVolumeNames(const char* path)
{
    static char first[kVolumeNameBuffer];
    if (PartNumberOf(LastPathComponent(path), nullptr, nullptr) == 0) return nullptr;
    ClearSlots();
    for (int number = 1; number <= kSlotCount; ++number) {
        char volume[kVolumeNameBuffer];
        if (!WithPartNumber(path, number, volume, sizeof volume)) continue;
        StoreSlot(number == 1 ? kFirstVolumeSlot : number - 2, volume);
    }
    if (!WithPartNumber(path, 1, first, sizeof first)) return nullptr;
    return first;
}

const char* VolumeLabelForFile(const char* path)
{
    const char* name = LastPathComponent(path);
    const int number = PartNumberOf(name, nullptr, nullptr);
    if (number > 0 && RarNamingOfFile(path) == kRarNamingInName) return PartLabel(number);
    return VolumeLabelOf(name);
}
