#include "utf8.h"

#include <windows.h>
#include <shellapi.h>

#include "owned.h"

std::wstring WideFromUtf8(const std::string& text)
{
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, NULL, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], length);
    return wide;
}

std::string Utf8FromWide(const wchar_t* text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, NULL, 0, NULL, NULL);
    std::string utf8(static_cast<size_t>(size), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, &utf8[0], size, NULL, NULL);
    return utf8;
}

std::vector<std::string> Utf8Arguments()
{
    int count = 0;
    OwnedLocal<LPWSTR> args(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> words;
    for (int i = 1; args.Get() && i < count; ++i)
        words.push_back(Utf8FromWide(args.Get()[i], lstrlenW(args.Get()[i])));
    return words;
}
