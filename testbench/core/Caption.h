#pragma once
// The program's title, version and the link in use, as the window caption and
// the about box show them.
#include <QString>

namespace zel {

class TZelvox;

QString ProgramTitle();
QString FileVersion();   // "4.13.0.594"
QString WordSizeText();  // " (64-bit)": the build's real word size
// " [Serial: COM1 Baudrate 115200]", " [DCOM:host COM1 Baudrate 115200]",
// " [TCP: 127.0.0.1: 7778]", or empty for other connection types.
QString LinkText(int connectionType, int comNumber, int baudRateIndex, const QString& computerName,
                 const QString& ipAddress, int tcpPort);
QString WindowCaption(const TZelvox& driver);

// Maker's contacts for the about box and the mail link.
inline constexpr const char* kMakerName = "Veltrona";
inline constexpr const char* kMakerSite = "https://www.veltrona.example";
inline constexpr const char* kSupportMail = "support@veltrona.example";

}  // namespace zel
