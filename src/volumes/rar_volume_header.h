// What a RAR file's own main header says about its volume set, and the
// "name.partN.rar" names of sets that number their volumes in the name.
// No platform calls.
#pragma once

enum { kRarHeaderBytes = 64 };

enum RarNaming {
    kRarNotAVolume = 0,     // not a RAR file, or a single archive
    kRarNamingOld = 1,      // name.rar, name.r00, name.r01 ...
    kRarNamingInName = 2,   // name.part1.rar, name.part2.rar ...
};

// From the first bytes of a file (at least the signature and the main
// header): RAR 5 volumes always number in the name; older ones do when the
// main header's new-numbering flag is set. A RAR 5 file with encrypted
// headers cannot tell whether it is a volume and gives kRarNamingInName: its
// name decides.
int RarNamingOf(const unsigned char* bytes, int count);

// The part number of "name.partN.rar" (any letter case, N of one to
// kMaxPartDigits digits, leading zeros allowed), or 0 when the name has no
// such part. digitsAt and digitsLength locate N.
enum { kMaxPartDigits = 6 };
int PartNumberOf(const char* name, int* digitsAt, int* digitsLength);

// path with its part number replaced by number, written with at least the
// width the name had; false when it does not fit size, or when number is not
// one that PartNumberOf reads (below 1, or more than kMaxPartDigits digits).
bool WithPartNumber(const char* path, int number, char* out, int size);

// The volume label of position number in such a set: part 1 "rar", part 2
// "r00", part 3 "r01" ...; nullptr beyond the 101 positions.
const char* PartLabel(int number);
