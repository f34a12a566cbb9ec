/*
 * What a press's record says about where and when it ran: this PC's clock with its offset
 * from UTC, the computer's and the account's names, and the program's texts, all in UTF-8 as
 * the record file holds them.
 */
#pragma once

#include "inspection/PressRecord.h"

#include <windows.h>

#include <string>

// The moment given in UTC as this PC's local time, with the offset that applies at it.
TRecordTime LocalRecordTime(const FILETIME& utc);

std::string ComputerNameUtf8();
std::string AccountNameUtf8();

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
// A text of the program (status, trace), which is in the ANSI code page.
std::string Utf8FromAnsi(const std::string& ansi);
