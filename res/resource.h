// Resource identifiers shared by the resource script and the Windows code.
#pragma once

// The program's own icon; the lowest id, so the shell shows it for the exe.
#define IDI_OMBRIX 1
// Desktop n's picture has IDI_DESKTOP_FIRST + n - 1.
#define IDI_DESKTOP_FIRST 11
// The pictures of menu items, in the order of MenuPicture: IDI_PICTURE_FIRST + its value.
#define IDI_PICTURE_FIRST 21
