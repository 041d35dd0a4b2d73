// The shell's standard command numbers; the program defines none of its own.
#pragma once

namespace framework {

enum Command : int {
    ID_FILE_NEW = 0xE100,
    ID_FILE_OPEN = 0xE101,
    ID_FILE_SAVE = 0xE103,
    ID_FILE_PRINT_DIRECT = 0xE108,
    ID_FILE_MRU_FILE1 = 0xE110,
    ID_EDIT_COPY = 0xE122,
    ID_EDIT_CUT = 0xE123,
    ID_EDIT_PASTE = 0xE125,
    ID_EDIT_UNDO = 0xE12B,
    ID_APP_ABOUT = 0xE140,
    ID_APP_EXIT = 0xE141,
    ID_NEXT_PANE = 0xE150,
    ID_PREV_PANE = 0xE151,
};

}  // namespace framework
