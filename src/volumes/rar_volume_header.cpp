#include "volumes/rar_volume_header.h"

#include <cstdio>
#include <cstring>

#include "core/paths.h"
#include "core/text.h"
#include "volumes/volume_slots.h"

namespace {

const unsigned char kRar4Signature[] = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00};
const unsigned char kRar5Signature[] = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x01, 0x00};

// A RAR 5 variable-length number; false when it runs past the end.
bool ReadVint(const unsigned char* bytes, int count, int& at, unsigned long long& value)
{
    value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (at >= count) return false;
        const unsigned char byte = bytes[at++];
        value |= static_cast<unsigned long long>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

int Rar5Naming(const unsigned char* bytes, int count)
{
    int at = sizeof kRar5Signature + 4;  // the header's CRC32
    unsigned long long size, type, flags, archiveFlags;
    if (!ReadVint(bytes, count, at, size) || !ReadVint(bytes, count, at, type)) return kRarNotAVolume;
    // Encrypted headers begin with the encryption header and hide the main
    // header behind it. This format numbers its volumes in the name and in
    // no other way, so a name that carries a part number is taken at its
    // word; otherwise every volume of such a set would pass for a set of its
    // own and ask for the password again.
    if (type == 4) return kRarNamingInName;
    if (type != 1) return kRarNotAVolume;
    if (!ReadVint(bytes, count, at, flags)) return kRarNotAVolume;
    unsigned long long skipped;
    if ((flags & 0x0001) && !ReadVint(bytes, count, at, skipped)) return kRarNotAVolume;  // extra area size
    if ((flags & 0x0002) && !ReadVint(bytes, count, at, skipped)) return kRarNotAVolume;  // data size
    if (!ReadVint(bytes, count, at, archiveFlags)) return kRarNotAVolume;
    return (archiveFlags & 0x0001) ? kRarNamingInName : kRarNotAVolume;
}

int Rar4Naming(const unsigned char* bytes, int count)
{
    const int at = sizeof kRar4Signature;
    // CRC (2), type (1), flags (2): the main header is type 0x73.
    if (count < at + 5 || bytes[at + 2] != 0x73) return kRarNotAVolume;
    const unsigned flags = bytes[at + 3] | (bytes[at + 4] << 8);
    if ((flags & 0x0001) == 0) return kRarNotAVolume;
    return (flags & 0x0010) ? kRarNamingInName : kRarNamingOld;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

int RarNamingOf(const unsigned char* bytes, int count)
{
    if (count >= static_cast<int>(sizeof kRar5Signature) &&
        std::memcmp(bytes, kRar5Signature, sizeof kRar5Signature) == 0) {
        return Rar5Naming(bytes, count);
    }
    if (count >= static_cast<int>(sizeof kRar4Signature) &&
        std::memcmp(bytes, kRar4Signature, sizeof kRar4Signature) == 0) {
        return Rar4Naming(bytes, count);
    }
    return kRarNotAVolume;
}

int PartNumberOf(const char* name, int* digitsAt, int* digitsLength)
{
    const char* extension = PathExtension(name);
    if (extension == nullptr || MatchLeadingText(extension, "RAR") != 3 || extension[3] != 0) return 0;
    // Walk back from the dot: digits, then "part". Bytes below 0x80 are never
    // trail bytes, so the backward scan cannot land inside a character.
    int end = static_cast<int>(extension - name) - 1;  // the dot
    int start = end;
    while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9') --start;
    const int length = end - start;
    if (length == 0 || length > kMaxPartDigits || start < 4) return 0;
    const char part[] = "part";
    for (int i = 0; i < 4; ++i) {
        if (Lower(name[start - 4 + i]) != part[i]) return 0;
    }
    int number = 0;
    for (int i = start; i < end; ++i) number = number * 10 + (name[i] - '0');
    if (number == 0) return 0;
    if (digitsAt != nullptr) *digitsAt = start;
    if (digitsLength != nullptr) *digitsLength = length;
    return number;
}

bool WithPartNumber(const char* path, int number, char* out, int size)
{
    const char* name = LastPathComponent(path);
    int at = 0;
    int length = 0;
    if (number < 1 || PartNumberOf(name, &at, &length) == 0) return false;
    const int prefix = static_cast<int>(name - path) + at;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%0*d", length, number);
    if (std::strlen(digits) > kMaxPartDigits) return false;
    const int total = prefix + static_cast<int>(std::strlen(digits)) + static_cast<int>(std::strlen(name + at + length));
    if (total >= size) return false;
    std::memcpy(out, path, prefix);
    out[prefix] = 0;
    BoundedAppend(out, digits, size);
    BoundedAppend(out, name + at + length, size);
    return true;
}

const char* PartLabel(int number)
{
    if (number == 1) return SlotExtension(kFirstVolumeSlot);
    if (number < 2 || number > 101) return nullptr;
    return SlotExtension(number - 2);
}
