#pragma once
// The channel colour dialog's work copy: the entries at opening (for Cancel), the working
// entries every change goes into, the selected channel, and the rules of the scroll bars and
// the component fields.
#include <string>
#include <string_view>

#include "core/channels/ChannelPalette.h"
#include "core/settings/SettingsStore.h"

namespace saroko {

enum ColorComponent : int { kRed = 0, kGreen = 1, kBlue = 2 };

// Control ids of the component fields.
inline constexpr int kIdcRedEdit = 500;
inline constexpr int kIdcGreenEdit = 501;
inline constexpr int kIdcBlueEdit = 502;

inline constexpr int kMsgColorNotNumeric = 57728; // + component
inline constexpr int kMsgColorRange = 57731;      // + component

// Scroll bar actions that may change a component.
enum class ScrollAction { kLineLeft, kLineRight, kThumbPosition, kOther };

// Where Tab and Shift+Tab go from a component field.
enum class TabTarget { kRedEdit, kGreenEdit, kBlueEdit, kOk, kChannel8 };
TabTarget TabFrom(int component, bool shift);

struct EditResult {
    bool checked = false; // false: a message is being shown, nothing was looked at
    int messageId = 0;    // 0 accepted
    bool changed = false; // the working entry took a new value: animate and redraw
    std::string text;     // what the field shows afterwards (as typed on an error)
};

class CChannelColorWork {
public:
    explicit CChannelColorWork(const PaletteEntries& current);

    // Buttons 1..8; any channel, with data or not.
    void Select(int channel);
    int Selected() const { return m_nSelChannel; }
    int SelectedIndex() const { return m_nSelIndex; }

    // The selected entry's component (0 without a selection).
    int Component(int component) const;
    // "%3d" of it.
    std::string ComponentText(int component) const;

    // A scroll bar action; false (passed on) without a selection or when nothing changed.
    bool Scroll(int component, ScrollAction action, int position = 0);
    // The field of `component` lost the focus holding `text`.
    EditResult LeaveEdit(int component, std::string_view text);
    // While a field's message is shown its own focus changes are not checked again.
    void SetErrorEdit(int editId) { m_nErrorEdit = editId; }

    // "初期値": all entries back to the defaults (nothing is stored yet).
    void Defaults() { SetDefaultPalette(m_pWork); }
    // OK, Cancel and the close box act only while no field holds a rejected value.
    bool Valid() const { return m_bValid != 0; }
    // OK: entries 0..7 into the settings store.
    void Save(ISettingsStore& store) const { SaveChannelColors(store, m_pWork); }

    const PaletteEntries& Work() const { return m_pWork; }
    const PaletteEntries& Original() const { return m_pOriginal; }

private:
    uint8_t& Ref(int component);

    PaletteEntries m_pOriginal;
    PaletteEntries m_pWork;
    int m_nSelChannel = 0;
    int m_nSelIndex = 0;
    int m_nErrorEdit = 0;
    int m_bValid = 1;
};

} // namespace saroko
