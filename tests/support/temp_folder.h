// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }  // without trailing backslash
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Deletes a folder and everything below it; a link inside is removed, not
// followed.
void RemoveTree(const std::string& folder);
