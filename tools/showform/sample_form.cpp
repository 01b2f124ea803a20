#include "sample_form.h"

#include "platform/gui/action.h"
#include "platform/gui/action_bar.h"
#include "platform/gui/bit_btn.h"
#include "platform/gui/button.h"
#include "platform/gui/combo_box.h"
#include "platform/gui/dock_tab_set.h"
#include "platform/gui/edit.h"
#include "platform/gui/group_box.h"
#include "platform/gui/image.h"
#include "platform/gui/image_list.h"
#include "platform/gui/label.h"
#include "platform/gui/list_box.h"
#include "platform/gui/memo.h"
#include "platform/gui/menu.h"
#include "platform/gui/page_control.h"
#include "platform/gui/panel.h"
#include "platform/gui/progress_bar.h"
#include "platform/gui/scroll_bar.h"
#include "platform/gui/scroll_box.h"
#include "platform/gui/splitter.h"
#include "platform/gui/status_bar.h"
#include "platform/gui/tree_view.h"

namespace tv::tools {

namespace {

// Places a control of class C in `parent` at the bounds given.
template <class C>
C* Place(TForm* owner, TWinControl* parent, int left, int top, int width, int height) {
    auto* c = new C(owner);
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

// A small picture drawn with the canvas: a filled circle on transparent white.
void DrawGlyph(TBitmap* glyph, TColor colour) {
    glyph->SetSize(16, 16);
    glyph->Canvas()->Pen()->SetColor(clBlack);
    glyph->Canvas()->Brush()->SetColor(colour);
    glyph->Canvas()->Ellipse(2, 2, 14, 14);
    glyph->SetTransparentColor(clWhite);
}

// The drawing tools at work: lines, shapes and text.
class TDrawing : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clWindow);
        c->FillRect(ClientRect());
        c->Pen()->SetColor(clNavy);
        c->Brush()->SetColor(clSilver);
        c->Rectangle(8, 8, 68, 48);
        c->Brush()->SetColor(clYellow);
        c->Ellipse(76, 8, 136, 48);
        c->Brush()->SetColor(clLime);
        c->Pie(144, 8, 194, 58, 194, 33, 169, 8);
        c->Pen()->SetColor(clRed);
        c->Pen()->SetWidth(2);
        c->MoveTo(8, 60);
        c->LineTo(200, 60);
    }
};

}  // namespace

TSampleForm::TSampleForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Tollvane");
    SetBounds(0, 0, 720, 520);
    SetPosition(poScreenCenter);

    // Commands: actions shown in the menu and the action bar.
    auto* actions = new TActionList(this);
    auto* settings = new TAction(this);
    settings->SetCaption("&Inställningar");
    settings->SetActionList(actions);
    auto* runImport = new TAction(this);
    runImport->SetCaption("Import");
    runImport->SetShortCut(ShortCut('I', {ssCtrl}));
    runImport->SetActionList(actions);
    auto* runExport = new TAction(this);
    runExport->SetCaption("Export");
    runExport->SetEnabled(false);
    runExport->SetActionList(actions);
    auto* menu = new TMainMenu(this);
    auto* file = new TMenuItem(this);
    file->SetCaption("&Arkiv");
    menu->Items()->Add(file);
    for (TAction* a : {settings, runImport, runExport}) {
        auto* item = new TMenuItem(this);
        item->SetAction(a);
        file->Add(item);
    }
    auto* help = new TMenuItem(this);
    help->SetCaption("Hj&älp");
    menu->Items()->Add(help);
    SetMenu(menu);
    auto* bar = new TActionBar(this);
    bar->SetParent(this);
    bar->AddAction(settings);
    bar->AddSeparator();
    bar->AddAction(runExport, "&Export");
    bar->AddAction(runImport, "I&mport");

    auto* status = new TStatusBar(this);
    status->SetParent(this);
    status->Panels()->Add()->SetText("Klar");
    status->Panels()->Items(0)->SetWidth(120);
    status->Panels()->Add()->SetText("Kontrollerna i biblioteket");

    // A tab strip on the left with a docked list, shown.
    auto* dock = new TDockTabSet(this);
    dock->SetParent(this);
    dock->SetDockWidth(120);
    auto* scripts = new TListBox(this);
    scripts->SetCaption("Script");
    scripts->Items()->SetCommaText("default_import.pas,default_export.pas,default_smart.pas");
    scripts->SetItemIndex(0);
    scripts->ManualDock(dock);
    dock->Expand(scripts);

    auto* pages = fPages = new TPageControl(this);
    pages->SetParent(this);
    pages->SetAlign(alClient);
    auto* controls = new TTabSheet(this);
    controls->SetCaption("Kontroller");
    controls->SetPageControl(pages);
    auto* events = new TTabSheet(this);
    events->SetCaption("Händelser");
    events->SetPageControl(pages);

    // ---- the standard controls ----
    Place<TLabel>(this, controls, 8, 10, 60, 17)->SetCaption("&Namn:");
    Place<TEdit>(this, controls, 70, 8, 150, 21)->SetText("Tollvane AB");
    auto* kind = Place<TComboBox>(this, controls, 230, 8, 140, 21);
    kind->SetStyle(csDropDownList);
    kind->Items()->SetCommaText("Kunder,Artiklar,Order");
    kind->SetItemIndex(0);
    auto* memo = Place<TMemo>(this, controls, 8, 36, 212, 70);
    memo->Lines()->Add("Rad ett");
    memo->Lines()->Add("Rad två");
    auto* list = Place<TListBox>(this, controls, 230, 36, 140, 70);
    list->Items()->SetCommaText("Alla,SQL,Intervall");
    list->SetItemIndex(1);
    auto* options = Place<TGroupBox>(this, controls, 8, 112, 212, 80);
    options->SetCaption("Alternativ");
    Place<TCheckBox>(this, options, 10, 22, 180, 17)->SetCaption("Skapa saknade poster");
    auto* ask = Place<TCheckBox>(this, options, 10, 42, 180, 17);
    ask->SetCaption("Fråga före import");
    ask->SetChecked(true);
    auto* radio = Place<TRadioButton>(this, options, 10, 60, 90, 17);
    radio->SetCaption("Snabb");
    radio->SetChecked(true);
    Place<TRadioButton>(this, options, 100, 60, 90, 17)->SetCaption("Noggrann");
    auto* files = Place<TRadioGroup>(this, controls, 230, 112, 140, 80);
    files->SetCaption("Filhantering");
    files->Items()->SetCommaText("\"Samma fil\",\"En per post\"");
    files->SetItemIndex(0);
    auto* ok = Place<TButton>(this, controls, 8, 200, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    auto* glyphButton = Place<TBitBtn>(this, controls, 90, 200, 100, 25);
    glyphButton->SetCaption("Import");
    DrawGlyph(glyphButton->Glyph(), clLime);
    auto* speed = Place<TSpeedButton>(this, controls, 198, 200, 25, 25);
    speed->SetGroupIndex(1);
    DrawGlyph(speed->Glyph(), clRed);
    speed->Click();
    Place<TScrollBar>(this, controls, 230, 204, 140, 17)->SetParams(30, 0, 100);
    auto* progress = Place<TProgressBar>(this, controls, 8, 234, 362, 17);
    progress->SetPosition(60);
    auto* box = Place<TScrollBox>(this, controls, 380, 8, 150, 100);
    Place<TDrawing>(this, box, 0, 0, 210, 70);
    auto* panel = Place<TPanel>(this, controls, 380, 116, 150, 40);
    panel->SetCaption("Panel");
    panel->SetBevelInner(bvLowered);
    auto* image = Place<TImage>(this, controls, 380, 164, 40, 40);
    DrawGlyph(image->Picture()->Bitmap(), clBlue);
    image->SetStretch(true);

    // ---- the event tree and a splitter ----
    auto* states = new TImageList(this);
    for (TColor c : {clGreen, clRed, clYellow}) {
        TBitmap dot;
        DrawGlyph(&dot, c);
        states->AddMasked(&dot, clWhite);
    }
    auto* tree = Place<TTreeView>(this, events, 0, 0, 200, 100);
    tree->SetAlign(alLeft);
    tree->SetStateImages(states);
    TTreeNode* start = tree->Items()->Add(nullptr, "Start ");
    start->SetStateIndex(0);
    TTreeNode* order = tree->Items()->AddChild(start, "order.xml");
    order->SetStateIndex(1);
    tree->Items()->AddChild(order, "Order 1001 - Kunden saknas")->SetStateIndex(1);
    tree->Items()->AddChild(start, "Avslutad")->SetStateIndex(0);
    start->Expand(true);
    auto* split = new TSplitter(this);
    split->SetParent(events);
    split->SetLeft(200);
    auto* detail = Place<TMemo>(this, events, 0, 0, 100, 100);
    detail->SetAlign(alClient);
    detail->Lines()->Add("Det finns fel");
}

void TSampleForm::ShowPage(int index) {
    fPages->SetActivePageIndex(index);
}

}  // namespace tv::tools
