#include "sample_form.h"

#include "platform/gui/custom_control.h"

namespace tv::tools {

namespace {

// A strip that paints a caption on a colour, as a header or a status line.
class TStrip : public TCustomControl {
public:
    TStrip(TForm* form, TAlign align, int height, TColor colour, std::string text)
        : TCustomControl(form), fColour(colour), fText(std::move(text)) {
        SetParent(form);
        SetHeight(height);
        SetAlign(align);
    }

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(fColour);
        Canvas()->FillRect(ClientRect());
        Canvas()->Font()->Assign(Font());
        Canvas()->TextOut(8, (Height() - Canvas()->TextHeight(fText)) / 2, fText);
    }

private:
    TColor fColour;
    std::string fText;
};

// The drawing tools at work: lines, shapes, text and a flood fill.
class TDrawing : public TCustomControl {
public:
    explicit TDrawing(TForm* form) : TCustomControl(form) {
        SetParent(form);
        SetAlign(alClient);
    }

protected:
    void Paint() override {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clWindow);
        c->FillRect(ClientRect());
        c->Pen()->SetColor(clNavy);
        c->Brush()->SetColor(clSilver);
        c->Rectangle(20, 20, 140, 90);
        c->Brush()->SetColor(clYellow);
        c->Ellipse(160, 20, 280, 90);
        c->Brush()->SetColor(clLime);
        c->Pie(300, 20, 380, 100, 380, 60, 340, 20);
        c->Pen()->SetWidth(2);
        c->Pen()->SetColor(clRed);
        c->MoveTo(20, 120);
        c->LineTo(380, 120);
        c->Pen()->SetWidth(1);
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetSize(10);
        c->TextOut(20, 135, "Tollvane: graphics, text and controls");
    }
};

}  // namespace

TSampleForm::TSampleForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Tollvane");
    SetBounds(0, 0, 420, 260);
    SetPosition(poScreenCenter);
    new TStrip(this, alTop, 32, clGradientActiveCaption, "Sample window");
    new TStrip(this, alBottom, 22, clBtnFace, "Ready");
    new TDrawing(this);
}

}  // namespace tv::tools
