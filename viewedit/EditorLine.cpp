#include "viewedit/EditorLine.h"

#include <cstring>
#include <memory>

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

bool QVEditorLine::FitsNarrow(const char32_t* text, int n) {
    char32_t all = 0;
    for (int i = 0; i < n; i++)
        all |= text[i];
    return all < 0x100;
}

Westring QVEditorLine::Text() const {
    Westring text;
    if (wide) {
        text.Assign(WideUnits(), length);
        return text;
    }
    char32_t small[256];
    std::unique_ptr<char32_t[]> large;
    char32_t* units = small;
    if (length > int(sizeof small / sizeof small[0])) {
        large.reset(new char32_t[size_t(length)]);
        units = large.get();
    }
    const unsigned char* narrow = NarrowUnits();
    for (int i = 0; i < length; i++)
        units[i] = narrow[i];
    text.Assign(units, length);
    return text;
}

void QVEditorLine::Store(const char32_t* text, int n) {
    if (wide) {
        if (n > 0)
            memmove(WideUnits(), text, sizeof(char32_t) * size_t(n));
        WideUnits()[n] = 0;
    } else {
        unsigned char* units = NarrowUnits();
        for (int i = 0; i < n; i++)
            units[i] = static_cast<unsigned char>(text[i]);
        units[n] = 0;
    }
    length = n;
}

QVEditorLine* QVEditorLineStore::NewLine(const char32_t* text, uint32_t lineEnd, int n) {
    n = UnitCount(text, n);
    const bool wide = !QVEditorLine::FitsNarrow(text, n);
    const int64_t unit = wide ? int64_t(sizeof(char32_t)) : 1;
    int64_t bytes = int64_t(sizeof(QVEditorLine)) + (int64_t(n) + 1) * unit;
    if (bytes > 0x7FFFFFF0)
        return nullptr;
    void* block = pool->Allocate(int(bytes));
    if (!block)
        return nullptr;
    QVEditorLine* line = static_cast<QVEditorLine*>(block);
    line->lineEnd = lineEnd;
    line->trim = 0;
    line->wide = wide ? 1 : 0;
    line->capacity = n;
    line->Store(text, n);
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
    // A narrow record cannot take a wider character: a new one takes its slot.
    if (old->capacity < n || (!old->wide && !QVEditorLine::FitsNarrow(text, n))) {
        QVEditorLine* line = NewLine(text, old->lineEnd, n);
        if (!line)
            return false;
        line->trim = old->trim;
        // The slot is reused in place: removing and inserting would move
        // every pointer after it twice.
        m_items[index] = line;
        return true;
    }
    old->Store(text, n);
    return true;
}
