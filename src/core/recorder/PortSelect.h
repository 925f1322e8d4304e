#pragma once
// The serial port selection: COM1..COM9, the device each number opens, and bindings of a
// number to any device the system lists. Works on a copy until "OK".
#include <map>
#include <string>

namespace saroko {

class CZorvicDoc;
class ISettingsStore;

inline constexpr int kPortChoices = 9;

class CPortSelection {
public:
    // The radio index is portNo - 1 for COM1..COM9, -1 (none) otherwise.
    CPortSelection(const ISettingsStore& store, int portNo);

    int Index() const { return m_nIndex; }
    void SetIndex(int index) { m_nIndex = index >= 0 && index < kPortChoices ? index : -1; }

    // The device COM `portNo` opens, counting the bindings made in this dialog.
    std::string DeviceOf(int portNo) const;
    // Binds COM `portNo` to `device`; an empty path (or the number's usual device) removes the
    // binding.
    void Bind(int portNo, const std::string& device);
    bool IsBound(int portNo) const { return !BindingOf(portNo).empty(); }

    // "OK": the chosen number and the bindings go to the document and the store, and the
    // communication section is saved. Without a chosen number the document keeps its own:
    // storing 0 would only make every later exchange fail.
    void Apply(CZorvicDoc& doc) const;

private:
    std::string BindingOf(int portNo) const;

    const ISettingsStore& m_store;
    int m_nIndex = -1;
    std::map<int, std::string> m_pending;
};

// The device a COM number opens when nothing is bound to it.
std::string DefaultPortDevice(int portNo);

} // namespace saroko
