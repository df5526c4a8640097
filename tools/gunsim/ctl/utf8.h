// Words and paths as UTF-8: a path a user may have (spaces, letters outside
// the ANSI code page) reaches the file system whole, from the command line or
// from a batch line alike.
#pragma once

#include <string>
#include <vector>

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const wchar_t* text, int length);
// This program's arguments after its own name, read from the wide command line.
std::vector<std::string> Utf8Arguments();
