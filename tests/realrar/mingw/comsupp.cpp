// MinGW's comutil.h declares this conversion but ships no library that defines
// it (Visual C++ has it in comsupp.lib). The RAR library's source uses _bstr_t
// for one query, so a plain definition is enough.
#include <windows.h>
#include <oleauto.h>

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* text)
{
    if (text == nullptr) return nullptr;
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return nullptr;
    BSTR result = SysAllocStringLen(nullptr, length - 1);
    if (result != nullptr) MultiByteToWideChar(CP_ACP, 0, text, -1, result, length);
    return result;
}

}  // namespace _com_util
