#include "AppResources.h"

#include "framework/Commands.h"

using namespace framework;

std::vector<MenuSpec> MainMenu() {
    return {
        {"&Datei",
         {{"Ö&ffnen", ID_FILE_OPEN},
          {nullptr, 0},
          {"Letzte Datei", ID_FILE_MRU_FILE1, true},
          {nullptr, 0},
          {"B&eenden", ID_APP_EXIT}}},
        {"&Hilfe", {{"&Über Panorama...", ID_APP_ABOUT}}},
    };
}

std::vector<AcceleratorSpec> MainAccelerators() {
    return {
        {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
        {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
        {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
        {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
    };
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {96, 48, 32, 16}) icon.addFile(QString(":/icons/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}
