// Volume names as users name their files: the slot of an extension text,
// the label of a name, the names of a whole set and the display name of a
// path. Nothing is read or written outside the texts and the slot table.
// Input: a text (up to a zero byte), then a path.
#include "volumes/volume_slots.h"

#include <cstring>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input{data, size};
    const ExactText text = TakeText(input);
    const ExactText path = TakeText(input);

    const int slot = SlotIndexOf(text.get());
    FUZZ_CHECK(slot >= kNoSlot && slot <= kFirstVolumeSlot);
    const char* label = VolumeLabelOf(text.get());
    if (label != nullptr) FUZZ_CHECK(SlotIndexOf(label) != kNoSlot && std::strlen(label) == 3);

    const char* first = BuildVolumeNames(path.get());
    if (first != nullptr) {
        FUZZ_CHECK(std::strlen(first) < kVolumeNameBuffer);
        for (int i = 0; i < kSlotCount; ++i) FUZZ_CHECK(std::strlen(SlotPath(i)) < kSlotPathSize);
    }
    const char* shown = VolumeDisplayName(path.get());
    if (shown != nullptr) FUZZ_CHECK(std::strlen(shown) < kSlotPathSize);
    StoreSlot(slot, path.get());
    FUZZ_CHECK(std::strlen(FirstVolumePath()) < kSlotPathSize);
    return 0;
}
