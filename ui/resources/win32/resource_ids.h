// Resource numbers of the Windows program. The shell counts icon groups in
// this order, so "<program>,N" names icon N: the program icon, then the two
// disk image icons. The about picture and the list's icons come after them.
#pragma once
#define VELLONIX_ICON_PROGRAM 1
#define VELLONIX_ICON_DISKIMAGE_1 2
#define VELLONIX_ICON_DISKIMAGE_2 3
#define VELLONIX_ICON_ABOUT 10
#define VELLONIX_ICON_LIST_FIRST 100 /* list icon n (0-29) is 100 + n */
