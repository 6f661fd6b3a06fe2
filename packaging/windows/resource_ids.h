#pragma once

// The program's icon in tornel.exe: the first icon, which the desktop shows for the file.
#define TORNEL_ICON 1
