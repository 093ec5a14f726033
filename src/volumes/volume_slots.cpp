#include "volumes/volume_slots.h"

#include <cstring>

#include "core/paths.h"
#include "core/text.h"

namespace {

char g_slots[kSlotCount][kSlotPathSize];
char g_extension[4];
char g_volumeNames[kVolumeNameBuffer];

bool IsSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

}  // namespace

int SlotIndexOf(const char* text)
{
    if (MatchLeadingText(text, "RAR") != 0) return kFirstVolumeSlot;
    // The number is read from the two bytes after the first one, whatever that
    // first byte is. The text is at least one byte long here, and the parser
    // stops at a terminator, so a short text is never read past its end.
    if (MatchLeadingText(text, "R") != 0) return ParseSpacedNumber(text + 1, 2);
    return kNoSlot;
}

const char* SlotExtension(int slot)
{
    if (slot == kFirstVolumeSlot) return "rar";
    if (!IsSlot(slot)) return nullptr;
    g_extension[0] = 'r';
    g_extension[1] = static_cast<char>('0' + slot / 10);
    g_extension[2] = static_cast<char>('0' + slot % 10);
    g_extension[3] = 0;
    return g_extension;
}

void ClearSlots()
{
    for (char* slot : g_slots) slot[0] = 0;
}

void StoreSlot(int slot, const char* path)
{
    if (IsSlot(slot)) BoundedCopy(g_slots[slot], path, kSlotPathSize);
}

const char* SlotPath(int slot) { return IsSlot(slot) ? g_slots[slot] : ""; }

const char* FirstVolumePath() { return g_slots[kFirstVolumeSlot]; }

namespace {

// Paths compared with ASCII letters folded, as the file system compares them.
bool SamePath(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        char x = *a;
        char y = *b;
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
        if (x == 0) return true;
    }
}

}  // namespace

const char* VolumeDisplayName(const char* path)
{
    // A volume read where it lies is the user's own file already.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (g_slots[slot][0] != 0 && SamePath(g_slots[slot], path)) return LastPathComponent(g_slots[slot]);
    }
    const int slot = SlotIndexOf(PathExtension(path));
    if (slot == kNoSlot) return nullptr;
    return LastPathComponent(g_slots[slot]);
}

int VolumeWindowOf(const char* name)
{
    const int length = static_cast<int>(std::strlen(name));
    for (int position = length - 3; position >= 0; --position) {
        if (SlotIndexOf(name + position) != kNoSlot) return position;
    }
    return -1;
}

const char* VolumeLabelOf(const char* name)
{
    const int position = VolumeWindowOf(name);
    return position < 0 ? nullptr : SlotExtension(SlotIndexOf(name + position));
}

const char* BuildVolumeNames(const char* path)
{
    ClearSlots();
    BoundedCopy(g_volumeNames, path, kVolumeNameBuffer);
    // The extension lies inside the copy, so after a cut it is the extension
    // of what is left, and the three bytes written below stay inside the buffer.
    char* extension = const_cast<char*>(PathExtension(g_volumeNames));
    if (extension == nullptr || std::strlen(extension) != 3) return nullptr;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        std::memcpy(extension, SlotExtension(slot), 3);
        StoreSlot(slot, g_volumeNames);
    }
    return g_volumeNames;
}
