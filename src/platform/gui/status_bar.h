#pragma once
// Status bars: a strip at the bottom of a form with panels of text side by side (the last one
// takes what is left), or one simple text across it.

#include <memory>
#include <string>

#include "platform/gui/custom_control.h"
#include "platform/rtl/collection.h"

namespace tv {

class TStatusBar;

enum TStatusPanelBevel : uint8_t { pbNone, pbLowered, pbRaised };
TV_ENUM_INFO(TStatusPanelBevel, "pbNone", "pbLowered", "pbRaised");

class TStatusPanel : public TCollectionItem {
    TV_CLASS(TStatusPanel, TCollectionItem)
public:
    explicit TStatusPanel(TCollection* Collection = nullptr) : TCollectionItem(Collection) {}

    const std::string& Text() const { return fText; }
    void SetText(const std::string& value);
    int Width() const { return fWidth; }
    void SetWidth(int value);
    TAlignment Alignment() const { return fAlignment; }
    void SetAlignment(TAlignment value);
    TStatusPanelBevel Bevel() const { return fBevel; }
    void SetBevel(TStatusPanelBevel value);

private:
    std::string fText;
    int fWidth = 50;
    TAlignment fAlignment = taLeftJustify;
    TStatusPanelBevel fBevel = pbLowered;
};

class TStatusPanels : public TOwnedCollection {
    TV_CLASS(TStatusPanels, TOwnedCollection)
public:
    explicit TStatusPanels(TStatusBar* owner = nullptr);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    // Raises EListError outside 0..Count-1.
    TStatusPanel* Items(int Index) const { return static_cast<TStatusPanel*>(TCollection::Items(Index)); }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TStatusBar* fBar;
};

class TStatusBar : public TCustomControl {
    TV_CLASS(TStatusBar, TCustomControl)
public:
    explicit TStatusBar(TComponent* AOwner = nullptr);
    ~TStatusBar() override;

    TStatusPanels* Panels() const { return fPanels.get(); }
    // On: SimpleText is shown across the whole bar instead of the panels.
    bool SimplePanel() const { return fSimplePanel; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return fSimpleText; }
    void SetSimpleText(const std::string& value);
    // Stored only.
    bool SizeGrip() const { return fSizeGrip; }
    void SetSizeGrip(bool value) { fSizeGrip = value; }

protected:
    void Paint() override;

private:
    std::unique_ptr<TStatusPanels> fPanels;
    bool fSimplePanel = false;
    std::string fSimpleText;
    bool fSizeGrip = true;
};

}  // namespace tv
