// The resource numbers of the program's pictures: the icon, the picture
// buttons' glyphs (a normal and a disabled look each) and the About box's
// picture. ResourceFiles.h turns a number into its file under res/; code
// names a picture only by these constants.
#pragma once

enum ResourceId : int {
  IDR_NONE = -1,  // no picture (a button's disabled look then is its normal one)
  IDI_APP = 128,  // the program's icon, 32 x 32
  IDB_CUT = 129,
  IDB_CANCEL = 130,  // one look for both states
  IDB_PLAY = 131,
  IDB_STOP = 132,
  IDB_PAUSE = 133,
  IDB_STOP_DISABLED = 135,
  IDB_CUT_DISABLED = 136,
  IDB_PLAY_DISABLED = 137,
  IDB_PAUSE_DISABLED = 138,
  IDB_ABOUT_PICTURE = 142,  // the About box's picture
  IDB_ABOUT = 143,
  IDB_ABOUT_DISABLED = 144,
};
