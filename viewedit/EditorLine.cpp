#include "viewedit/EditorLine.h"

#include <cstring>

namespace {

int UnitCount(const char32_t* text, int n) {
    if (n >= 0 || !text)
        return n < 0 ? 0 : n;
    int length = 0;
    while (text[length])
        length++;
    return length;
}

}  // namespace

int QVEditorLine::Length() const {
    const char32_t* text = Text();
    int length = 0;
    while (text[length])
        length++;
    return length;
}

QVEditorLine* QVEditorLineStore::NewLine(const char32_t* text, uint32_t lineEnd, int n) {
    n = UnitCount(text, n);
    int64_t bytes = int64_t(sizeof(QVEditorLine)) + (int64_t(n) + 1) * int64_t(sizeof(char32_t));
    if (bytes > 0x7FFFFFF0)
        return nullptr;
    void* block = pool->Allocate(int(bytes));
    if (!block)
        return nullptr;
    QVEditorLine* line = static_cast<QVEditorLine*>(block);
    line->lineEnd = lineEnd;
    line->trim = 0;
    line->capacity = n;
    if (n > 0)
        memcpy(line->Text(), text, sizeof(char32_t) * size_t(n));
    line->Text()[n] = 0;
    return line;
}

bool QVEditorLineStore::AddLine(const char32_t* text, uint32_t lineEnd, int n) {
    QVEditorLine* line = NewLine(text, lineEnd, n);
    if (!line)
        return false;
    Add(line);
    return true;
}

bool QVEditorLineStore::InsertLine(int index, const char32_t* text, const QVEditorLine* templateLine) {
    QVEditorLine* line = NewLine(text, templateLine ? templateLine->lineEnd : 6);
    if (!line)
        return false;
    InsertAt(line, index);
    return true;
}

bool QVEditorLineStore::ReplaceText(int index, const char32_t* text, int n) {
    QVEditorLine* old = At(index);
    if (!old)
        return false;
    n = UnitCount(text, n);
    if (old->capacity < n) {
        QVEditorLine* line = NewLine(text, old->lineEnd, n);
        if (!line)
            return false;
        line->trim = old->trim;
        // The slot is reused in place: removing and inserting would move
        // every pointer after it twice.
        m_items[index] = line;
        return true;
    }
    if (n > 0)
        memmove(old->Text(), text, sizeof(char32_t) * size_t(n));
    old->Text()[n] = 0;
    return true;
}
