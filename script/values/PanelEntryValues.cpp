#include "script/values/PanelEntryValues.h"

#include <cstring>
#include <new>

#include "app/panels/Panel.h"
#include "app/panels/PanelTags.h"
#include "base/strings/Str32.h"

void ReadPanelIfMarked(CPanel* panel) {
    if (!panel->needsReread)
        return;
    if (panel->isOn && panel->panelType == PANEL_FILES) {
        ReadPanelDirectory(panel);
        return;
    }
    // A panel that is not shown reads as a plain file list, as start-up
    // reads one, and keeps what it shows.
    ReadPanelAsFileList(panel);
}

namespace {

const char* const EntryKeys[4] = {"name", "size", "mtime", "tagged"};

ValueHandle ListIndexError() {
    throw ERunError(nullptr, Westring("List index out of range"));
}

}  // namespace

CPanelEntryListValue::CPanelEntryListValue(CPanel* panel) : CScriptValueMin("panel entry list"), m_panel(panel) {
    ReadPanelIfMarked(m_panel);
}

int CPanelEntryListValue::GetCount() {
    return m_panel->entryCount;
}

ValueHandle CPanelEntryListValue::GetListItem(int index) {
    if (index < 0 || index >= m_panel->entryCount)
        return ListIndexError();
    return ValueHandle(new CPanelEntryValue(m_panel, m_panel->entries[index]));
}

void CPanelEntryListValue::BeginIteration(int& cursor) {
    cursor = 0;
    ReadPanelIfMarked(m_panel);
}

ValueHandle CPanelEntryListValue::IterateNext(int& cursor) {
    if (cursor < 0 || cursor >= m_panel->entryCount)
        return ValueHandle();
    return ValueHandle(new CPanelEntryValue(m_panel, m_panel->entries[cursor++]));
}

CFileFindEntryListValue::CFileFindEntryListValue(const TAutoPtr<CFoundEntries>& found)
    : CScriptValueMin("file find entry list"), m_found(found) {}

ValueHandle CFileFindEntryListValue::GetListItem(int index) {
    if (index < 0 || index >= m_found->Count())
        return ListIndexError();
    return ValueHandle(new CPanelEntryValue(nullptr, m_found->At(index), m_found));
}

ValueHandle CFileFindEntryListValue::IterateNext(int& cursor) {
    if (cursor < 0 || cursor >= m_found->Count())
        return ValueHandle();
    return ValueHandle(new CPanelEntryValue(nullptr, m_found->At(cursor++), m_found));
}

CEntrySnapshot::CEntrySnapshot(CPanel* panel, entry* item, const TAutoPtr<CFoundEntries>& found)
    : m_panel(panel), m_item(item), m_generation(panel ? panel->entriesGeneration : 0), m_found(found) {
    int length = int(Str32Length(item->name));
    m_copy = entry::Allocate(length);
    if (!m_copy)
        throw std::bad_alloc();
    memcpy(static_cast<void*>(m_copy), item, entry::EntryBytes(length));
}

CEntrySnapshot::~CEntrySnapshot() {
    entry::Free(m_copy);
}

entry* CEntrySnapshot::Live() const {
    if (m_panel)
        return m_panel->entriesGeneration == m_generation ? m_item : nullptr;
    // The results are held alive by this snapshot.
    return m_item;
}

const entry& CEntrySnapshot::Current() const {
    entry* live = Live();
    return live ? *live : *m_copy;
}

CPanelEntryValue::CPanelEntryValue(CPanel* panel, entry* item, const TAutoPtr<CFoundEntries>& found)
    : CScriptValueMin("panel entry"), m_snapshot(new CEntrySnapshot(panel, item, found)),
      m_undefined(new CScriptValue()) {
    m_key.MarkEmbedded();
}

const IScriptValue& CPanelEntryValue::GetMapItemAt(int index) {
    if (index < 0 || index > 3)
        throw ERunError(nullptr, Westring("Map key index out of range"));
    m_key.SetString(Westring(EntryKeys[index]));
    return m_key;
}

ValueHandle* CPanelEntryValue::FindMapItem(const IScriptValue& key) {
    IScriptValue& k = const_cast<IScriptValue&>(key);
    if (k.GetType() != ScriptString)
        return &m_undefined;
    const Westring& name = k.GetString();
    const entry& item = m_snapshot->Current();
    if (name.EqualsExact(Westring("name"))) {
        if (!m_name)
            m_name = new CScriptValue(Westring(item.name));
        return &m_name;
    }
    if (name.EqualsExact(Westring("tagged"))) {
        if (!m_tagged)
            m_tagged = new CEntryTaggedRefValue(m_snapshot);
        return &m_tagged;
    }
    if (name.EqualsExact(Westring("size"))) {
        if (!m_size)
            m_size = new CScriptValue(int64_t(item.size));
        return &m_size;
    }
    if (name.EqualsExact(Westring("mtime"))) {
        if (!m_mtime)
            m_mtime = new CScriptValue(item.time);
        return &m_mtime;
    }
    return &m_undefined;
}

ValueHandle CPanelEntryValue::GetMapItemRef(const ValueHandle&, const IScriptValue& key, bool) {
    return *FindMapItem(key);
}

void CPanelEntryValue::DetachHandles() {
    m_name.Forget();
    m_tagged.Forget();
    m_size.Forget();
    m_mtime.Forget();
    m_undefined.Forget();
}

CEntryTaggedRefValue::CEntryTaggedRefValue(const TAutoPtr<CEntrySnapshot>& snapshot)
    : CScriptValueMin("File Tagged Flag"), m_snapshot(snapshot) {}

bool CEntryTaggedRefValue::GetBool() {
    return m_snapshot->Current().tagged != 0;
}

void CEntryTaggedRefValue::SetBool(bool value) {
    CPanel* panel = m_snapshot->Panel();
    entry* live = m_snapshot->Live();
    if (!panel || !live || (live->tagged != 0) == value)
        return;
    PanelSetEntryTag(panel, live, value ? 1 : -1);
}

bool CEntryTaggedRefValue::AssignThrough(const ValueHandle& value) {
    if (value->GetType() != ScriptBool)
        return false;
    SetBool(value->GetBool());
    return true;
}
