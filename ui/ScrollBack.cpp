#include "ui/ScrollBack.h"

#include "app/settings/Colours.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "console/KeyCodes.h"
#include "ui/ModalLoop.h"
#include "console/ScreenSize.h"

CScrollBackBuffer ScrollBackBuffer;
TScrollBackHooks ScrollBackHooks = {nullptr};

void AppendScreenRowToScrollBack(int row) {
    CellString* line = new CellString;
    Console->CopyRect(*line, 0, row, ScreenColumns, 1);
    ScrollBackBuffer.Add(line);
}

CScrollBackViewer::CScrollBackViewer(const CScrollBackBuffer& buffer)
    : Win(0, 0, ScreenColumns - 1, ScreenRows - 1, ColourOf(ColourCommandLine), -1, 1), buffer(buffer),
      width(ClientWidth()), height(ClientHeight()), top(0) {
    int n = buffer.Count();
    top = n > height ? n - height : 0;
}

void CScrollBackViewer::DrawRow(int row) {
    GotoXY(0, row);
    int index = top + row;
    if (index < buffer.Count()) {
        const CellString& line = *buffer.At(index);
        CellString shown;
        shown.AppendCells(line.Data(), line.Length() < width ? line.Length() : width);
        WriteAttrString(0, row, shown);
    }
    ClearToEolDefault();
}

void CScrollBackViewer::Draw() {
    for (int row = 0; row < height; row++) {
        DrawRow(row);
    }
}

void CScrollBackViewer::Run() {
    TOutputRect saved;
    Console->GetOutputRect(saved);
    Console->SetOutputRegion(OriginX(), OriginY(), width, height);
    Draw();
    CModalLoop loop;
    for (;;) {
        int n = buffer.Count();
        TInputEvent event = {};
        int key = loop.Read(event, -1);
        switch (key) {
        case KEY_UP:
            if (top > 0) {
                top--;
                Scroll(0, 0, width, height, -1);
                DrawRow(0);
            }
            break;
        case KEY_DOWN:
            if (top + height < n) {
                top++;
                Scroll(0, 0, width, height, 1);
                DrawRow(height - 1);
            }
            break;
        case KEY_PGUP:
            if (top > 0) {
                top = top - height + 2 > 0 ? top - height + 2 : 0;
                Draw();
            }
            break;
        case KEY_PGDN:
            if (top + height < n) {
                top = top + height - 2 < n - height ? top + height - 2 : n - height;
                Draw();
            }
            break;
        case KEY_HOME:
            if (top > 0) {
                top = 0;
                Draw();
            }
            break;
        case KEY_END:
            if (top + height < n) {
                top = n - height;
                Draw();
            }
            break;
        case KEY_ESC:
        case KEY_CLOSED: Console->SetOutputRect(saved); return;
        default: break;
        }
    }
}

void ShowScrollBack() {
    if (ScrollBackHooks.hideScreen) {
        ScrollBackHooks.hideScreen();
    }
    int captured = 0;
    for (int row = 0; row <= ScreenRows - 3; row++) {
        AppendScreenRowToScrollBack(row);
        captured++;
    }
    CScrollBackViewer* viewer = new CScrollBackViewer(ScrollBackBuffer);
    viewer->Run();
    for (int i = 0; i < captured; i++) {
        delete ScrollBackBuffer.RemoveAt(ScrollBackBuffer.Count() - 1);
    }
    delete viewer;
}
