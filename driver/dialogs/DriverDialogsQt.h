#pragma once
// Installs the driver's Qt windows for ShowProperties and ShowTablesDlg.
// Call once after the QApplication exists.
namespace zel {

void InstallDriverDialogs();

}  // namespace zel
