#include "ui/ScrollBack.h"

#include "app/settings/Colours.h"
#include "base/strings/Utf8Codec.h"
#include "console/Console.h"
#include "console/InputEvent.h"
#include "console/KeyCodes.h"
#include "ui/ModalLoop.h"
#include "console/ScreenSize.h"

CScrollBackBuffer ScrollBackBuffer;
TScrollBackHooks ScrollBackHooks = {nullptr};

namespace {

// A record: the number of cells, of text cells and of attribute runs (16 bits
// each), the runs (16-bit length, attribute), then the text cells' characters
// in UTF-8 (any value, surrogates too, in the form of its length); the cells
// past the text are blanks.
void PutUint16(unsigned char*& at, unsigned value) {
    *at++ = static_cast<unsigned char>(value & 0xFF);
    *at++ = static_cast<unsigned char>(value >> 8);
}

unsigned GetUint16(const unsigned char*& at) {
    unsigned value = at[0] | (at[1] << 8);
    at += 2;
    return value;
}

}  // namespace

void CScrollBackBuffer::Add(const TCell* cells, int n) {
    n = n < 0 ? 0 : n > 0xFFFF ? 0xFFFF : n;
    int text = n;
    while (text > 0 && cells[text - 1].character == ' ') {
        --text;
    }
    // Room for the most the record can take, given back at the end.
    const size_t start = records.size();
    starts.push_back(start);
    records.resize(start + 6 + 3 * static_cast<size_t>(n) + 4 * static_cast<size_t>(text));
    unsigned char* const first = reinterpret_cast<unsigned char*>(&records[start]);
    unsigned char* at = first + 6;
    unsigned runs = 0;
    for (int i = 0; i < n; ++runs) {
        int j = i + 1;
        while (j < n && cells[j].attribute == cells[i].attribute) {
            ++j;
        }
        PutUint16(at, static_cast<unsigned>(j - i));
        *at++ = cells[i].attribute;
        i = j;
    }
    for (int i = 0; i < text; ++i) {
        at += EncodeUtf8(cells[i].character, reinterpret_cast<char*>(at));
    }
    unsigned char* head = first;
    PutUint16(head, static_cast<unsigned>(n));
    PutUint16(head, static_cast<unsigned>(text));
    PutUint16(head, runs);
    records.resize(start + static_cast<size_t>(at - first));
}

void CScrollBackBuffer::Line(int index, CellString& cells) const {
    cells.SetLength(0);
    if (index < 0 || index >= Count()) {
        return;
    }
    const unsigned char* at = reinterpret_cast<const unsigned char*>(records.data()) + starts[index];
    const int n = static_cast<int>(GetUint16(at));
    const int text = static_cast<int>(GetUint16(at));
    const int runs = static_cast<int>(GetUint16(at));
    const unsigned char* characters = at + 3 * runs;
    cells.Grow(n);
    int done = 0;
    for (int r = 0; r < runs; ++r) {
        const int length = static_cast<int>(GetUint16(at));
        const uint8_t attribute = *at++;
        for (int i = 0; i < length; ++i, ++done) {
            char32_t c = U' ';
            if (done < text) {
                const TUtf8Step step = DecodeUtf8Step(characters, 4);
                c = step.code;
                characters += step.length;
            }
            cells += TCell{c, attribute};
        }
    }
}

void CScrollBackBuffer::RemoveLast() {
    if (!starts.empty()) {
        records.resize(starts.back());
        starts.pop_back();
    }
}

void CScrollBackBuffer::FreeAll() {
    std::string().swap(records);
    std::vector<size_t>().swap(starts);
}

void AppendScreenRowToScrollBack(int row) {
    TCell* cells = Console->SaveRect(0, row, ScreenColumns, 1);
    ScrollBackBuffer.Add(cells, ScreenColumns);
    delete[] cells;
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
        buffer.Line(index, line);
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
        ScrollBackBuffer.RemoveLast();
    }
    delete viewer;
}
