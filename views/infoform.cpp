#include "views/infoform.h"

#include "core/format.h"
#include "core/settings.h"
#include "core/styles.h"
#include "ui/winutil.h"

namespace wyndo {

TInfoForm::TInfoForm(std::unique_ptr<TBasicInfo> Own) : FInfo(std::move(Own)) {
  SetBorderStyle(TBorderStyle::bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetClientSize(482, 344);
  SetColor(clBtnFace);
  Position = TPosition::poDefaultPosOnly;
  KeyPreview = true;
}

bool TInfoForm::SetInfo(const TBasicInfo& Info) {
  try {
    FInfo->Assign(Info);
    return true;
  } catch (...) {
    return false;
  }
}

namespace {
using F = TWindowInfoForm;
constexpr std::uint32_t ReadOnlyField = loReadOnly | loBtnFace;
} // namespace

// clang-format off
const TLayoutItem<TWindowInfoForm> TWindowInfoForm::Layout[] = {
  {.Kind = Kind<TPageControl>, .Name = "PageControl1", .Align = TAlign::alClient, .Connect = Connect<&F::PageControl>},

  {.Kind = Kind<TTabSheet>, .Name = "General", .Parent = "PageControl1", .Text = "General"},
  {.Kind = Kind<TLabel>, .Name = "Label1", .Parent = "General", .Bounds = {16, 24, 0, 0}, .Text = "Window Caption:"},
  {.Kind = Kind<TEdit>, .Name = "edWindowCaption", .Parent = "General", .Bounds = {128, 18, 305, 21}, .Options = ReadOnlyField, .Connect = Connect<&F::edWindowCaption>},
  {.Kind = Kind<TLabel>, .Name = "Label2", .Parent = "General", .Bounds = {16, 48, 0, 0}, .Text = "Window Handle:"},
  {.Kind = Kind<TLabel>, .Name = "laWindowHandle", .Parent = "General", .Bounds = {128, 48, 0, 0}, .Text = "0", .Connect = Connect<&F::laWindowHandle>},
  {.Kind = Kind<TLabel>, .Name = "Label3", .Parent = "General", .Bounds = {16, 70, 0, 0}, .Text = "Window Proc:"},
  {.Kind = Kind<TLabel>, .Name = "laWindowProc", .Parent = "General", .Bounds = {128, 70, 0, 0}, .Text = "0", .Connect = Connect<&F::laWindowProc>},
  {.Kind = Kind<TLabel>, .Name = "Label5", .Parent = "General", .Bounds = {16, 92, 0, 0}, .Text = "Rectangle:"},
  {.Kind = Kind<TLabel>, .Name = "laWndRectangle", .Parent = "General", .Bounds = {128, 92, 0, 0}, .Text = "0", .Connect = Connect<&F::laWndRectangle>},
  {.Kind = Kind<TLabel>, .Name = "Label6", .Parent = "General", .Bounds = {16, 114, 0, 0}, .Text = "Restored Rect:"},
  {.Kind = Kind<TLabel>, .Name = "laRestoredRect", .Parent = "General", .Bounds = {128, 114, 0, 0}, .Text = "0", .Connect = Connect<&F::laRestoredRect>},
  {.Kind = Kind<TLabel>, .Name = "Label8", .Parent = "General", .Bounds = {16, 136, 0, 0}, .Text = "Client Rect:"},
  {.Kind = Kind<TLabel>, .Name = "laClientRect", .Parent = "General", .Bounds = {128, 136, 0, 0}, .Text = "0", .Connect = Connect<&F::laClientRect>},

  {.Kind = Kind<TTabSheet>, .Name = "Styles", .Parent = "PageControl1", .Text = "Styles"},
  {.Kind = Kind<TGroupBox>, .Name = "WindowStylesGroup", .Parent = "Styles", .Bounds = {16, 12, 215, 253}, .Text = "Window Styles"},
  {.Kind = Kind<TLabel>, .Name = "laWindowStyles", .Parent = "WindowStylesGroup", .Bounds = {12, 20, 0, 0}, .Text = "0", .Connect = Connect<&F::laWindowStyles>},
  {.Kind = Kind<TListBox>, .Name = "lbStylesList", .Parent = "WindowStylesGroup", .Bounds = {12, 40, 191, 201}, .Connect = Connect<&F::lbStylesList>},
  {.Kind = Kind<TGroupBox>, .Name = "ExtendedStylesGroup", .Parent = "Styles", .Bounds = {241, 12, 215, 253}, .Text = "Extended Styles"},
  {.Kind = Kind<TLabel>, .Name = "laExtendedStyles", .Parent = "ExtendedStylesGroup", .Bounds = {12, 20, 0, 0}, .Text = "0", .Connect = Connect<&F::laExtendedStyles>},
  {.Kind = Kind<TListBox>, .Name = "lbExtStylesList", .Parent = "ExtendedStylesGroup", .Bounds = {12, 40, 191, 201}, .Connect = Connect<&F::lbExtStylesList>},

  {.Kind = Kind<TTabSheet>, .Name = "Class", .Parent = "PageControl1", .Text = "Class"},
  {.Kind = Kind<TLabel>, .Name = "Label4", .Parent = "Class", .Bounds = {20, 24, 0, 0}, .Text = "Class Name:"},
  {.Kind = Kind<TEdit>, .Name = "edClassName", .Parent = "Class", .Bounds = {120, 18, 340, 21}, .Options = ReadOnlyField, .Connect = Connect<&F::edClassName>},
  {.Kind = Kind<TLabel>, .Name = "Label11", .Parent = "Class", .Bounds = {20, 56, 0, 0}, .Text = "Class Atom:"},
  {.Kind = Kind<TLabel>, .Name = "ClassAtom", .Parent = "Class", .Bounds = {120, 56, 0, 0}, .Text = "0"},
  {.Kind = Kind<TLabel>, .Name = "Label12", .Parent = "Class", .Bounds = {20, 78, 0, 0}, .Text = "Class Bytes:"},
  {.Kind = Kind<TLabel>, .Name = "ClassBytes", .Parent = "Class", .Bounds = {120, 78, 0, 0}, .Text = "0"},
  {.Kind = Kind<TLabel>, .Name = "Label17", .Parent = "Class", .Bounds = {20, 100, 0, 0}, .Text = "Window Bytes:"},
  {.Kind = Kind<TLabel>, .Name = "WindowBytes", .Parent = "Class", .Bounds = {120, 100, 0, 0}, .Text = "0"},
  {.Kind = Kind<TLabel>, .Name = "Label15", .Parent = "Class", .Bounds = {20, 126, 0, 0}, .Text = "Menu Name:"},
  {.Kind = Kind<TLabel>, .Name = "MenuName", .Parent = "Class", .Bounds = {120, 126, 0, 0}, .Text = "(None)"},
  {.Kind = Kind<TLabel>, .Name = "Label16", .Parent = "Class", .Bounds = {20, 148, 0, 0}, .Text = "Icon Handle:"},
  {.Kind = Kind<TLabel>, .Name = "IconHandle", .Parent = "Class", .Bounds = {120, 148, 0, 0}, .Text = "(None)"},
  {.Kind = Kind<TLabel>, .Name = "Label18", .Parent = "Class", .Bounds = {20, 178, 0, 0}, .Text = "Cursor Handle:"},
  {.Kind = Kind<TLabel>, .Name = "CursorHandle", .Parent = "Class", .Bounds = {120, 178, 0, 0}, .Text = "(None)"},
  {.Kind = Kind<TLabel>, .Name = "Label20", .Parent = "Class", .Bounds = {20, 200, 0, 0}, .Text = "Bkgnd Brush:"},
  {.Kind = Kind<TLabel>, .Name = "BkgndBrush", .Parent = "Class", .Bounds = {120, 200, 0, 0}, .Text = "(None)"},
  {.Kind = Kind<TLabel>, .Name = "Label13", .Parent = "Class", .Bounds = {20, 236, 0, 0}, .Text = "Instance Handle:"},
  {.Kind = Kind<TLabel>, .Name = "InstanceHandle", .Parent = "Class", .Bounds = {120, 236, 0, 0}, .Text = "0"},
  {.Kind = Kind<TLabel>, .Name = "Label14", .Parent = "Class", .Bounds = {20, 256, 0, 0}, .Text = "Window Proc:"},
  {.Kind = Kind<TLabel>, .Name = "ClassWindowProc", .Parent = "Class", .Bounds = {120, 256, 0, 0}, .Text = "0"},
  {.Kind = Kind<TLabel>, .Name = "Label7", .Parent = "Class", .Bounds = {20, 294, 0, 0}, .Text = "Module:", .Anchors = akLeft | akBottom},
  {.Kind = Kind<TLabel>, .Name = "ClassModule", .Parent = "Class", .Bounds = {120, 294, 0, 0}, .Text = "(Unavailable)", .Anchors = akLeft | akBottom},
  {.Kind = Kind<TGroupBox>, .Name = "ClassStyleGroup", .Parent = "Class", .Bounds = {249, 48, 212, 233}, .Text = "Class Style", .Anchors = akAll},
  {.Kind = Kind<TLabel>, .Name = "ClassStyle", .Parent = "ClassStyleGroup", .Bounds = {12, 24, 0, 0}, .Text = "0"},
  {.Kind = Kind<TListBox>, .Name = "ClassStyleList", .Parent = "ClassStyleGroup", .Bounds = {12, 48, 188, 173}, .Anchors = akAll, .Connect = Connect<&F::ClassStyleList>},

  {.Kind = Kind<TTabSheet>, .Name = "Windows", .Parent = "PageControl1", .Text = "Windows"},
  {.Kind = Kind<TLabel>, .Name = "Label9", .Parent = "Windows", .Bounds = {16, 20, 0, 0}, .Text = "Parent Window:"},
  {.Kind = Kind<TLinkLabel>, .Name = "ParentWindow", .Parent = "Windows", .Bounds = {112, 20, 0, 0}, .Text = "(None)", .Connect = Connect<&F::ParentWindow>},
  {.Kind = Kind<TLabel>, .Name = "Label10", .Parent = "Windows", .Bounds = {16, 44, 0, 0}, .Text = "Owner Window:"},
  {.Kind = Kind<TLinkLabel>, .Name = "OwnerWindow", .Parent = "Windows", .Bounds = {112, 44, 0, 0}, .Text = "(None)", .Connect = Connect<&F::OwnerWindow>},
  {.Kind = Kind<TGroupBox>, .Name = "GroupBox1", .Parent = "Windows", .Bounds = {16, 72, 440, 230}, .Text = "Child Windows"},
  {.Kind = Kind<TListBox>, .Name = "ChildWindows", .Parent = "GroupBox1", .Bounds = {16, 24, 125, 191}, .Anchors = akLeft | akTop | akBottom, .Connect = Connect<&F::ChildWindows>},
  {.Kind = Kind<TLabel>, .Name = "Label19", .Parent = "GroupBox1", .Bounds = {164, 30, 0, 0}, .Text = "Handle:"},
  {.Kind = Kind<TLabel>, .Name = "ChildWndHandle", .Parent = "GroupBox1", .Bounds = {228, 30, 0, 0}, .Text = "(None)"},
  {.Kind = Kind<TLabel>, .Name = "Label21", .Parent = "GroupBox1", .Bounds = {164, 62, 0, 0}, .Text = "Caption:"},
  {.Kind = Kind<TLabel>, .Name = "ChildWndCaption", .Parent = "GroupBox1", .Bounds = {228, 62, 0, 0}, .Text = "(None)"},
  {.Kind = Kind<TLabel>, .Name = "Label22", .Parent = "GroupBox1", .Bounds = {164, 90, 0, 0}, .Text = "Class"},
  {.Kind = Kind<TLabel>, .Name = "ChildWndClass", .Parent = "GroupBox1", .Bounds = {228, 90, 0, 0}, .Text = "(None)"},
  {.Kind = Kind<TButton>, .Name = "Select", .Parent = "GroupBox1", .Bounds = {240, 190, 89, 25}, .Text = "Select Window", .Anchors = akLeft | akBottom, .Connect = Connect<&F::Select>},
  {.Kind = Kind<TButton>, .Name = "Properties", .Parent = "GroupBox1", .Bounds = {336, 190, 89, 25}, .Text = "Properties", .Anchors = akLeft | akBottom, .Connect = Connect<&F::Properties>},

  {.Kind = Kind<TTabSheet>, .Name = "Process", .Parent = "PageControl1", .Text = "Process"},
  {.Kind = Kind<TLabel>, .Name = "Label23", .Parent = "Process", .Bounds = {24, 28, 0, 0}, .Text = "Process ID:"},
  {.Kind = Kind<TLinkLabel>, .Name = "llProcessID", .Parent = "Process", .Bounds = {92, 28, 0, 0}, .Text = "(None)", .Connect = Connect<&F::llProcessID>},
  {.Kind = Kind<TLabel>, .Name = "Label24", .Parent = "Process", .Bounds = {24, 56, 0, 0}, .Text = "Thread ID:"},
  {.Kind = Kind<TLinkLabel>, .Name = "llThreadID", .Parent = "Process", .Bounds = {92, 56, 0, 0}, .Text = "(None)", .Connect = Connect<&F::llThreadID>},
};
// clang-format on

TWindowInfoForm::TWindowInfoForm() : TInfoForm(std::make_unique<TWindowInfoObject>(0)) {
  SetCaption("Window Info");
  BuildLayout(*this, Layout);
  OnKeyDown = [this](TObject& Sender, WORD& Key, TShiftState Shift) {
    FormKeyDown(Sender, Key, Shift);
  };
}

void TWindowInfoForm::FormKeyDown(TObject&, WORD& Key, TShiftState) {
  if (Key == VK_ESCAPE)
    ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

bool TWindowInfoForm::SetInfo(const TBasicInfo& Info) {
  if (!TInfoForm::SetInfo(Info))
    return false;
  const TWindowInfoObject& Window = WindowInfo();
  edWindowCaption->SetText(Window.WindowText());
  laWindowHandle->SetCaption(FormatValue(Window.Handle(), "", ifCurrent));
  laWindowProc->SetCaption(FormatValue(Window.WndProc(), UnavailableText, ifCurrent));
  laWndRectangle->SetCaption(FormatRect(ToRect32(Window.WindowRect())));
  laRestoredRect->SetCaption(FormatRect(ToRect32(Window.RestoredRect())));
  laClientRect->SetCaption(FormatRect(ToRect32(Window.ClientRect())));
  const std::uint32_t Style = Window.WindowStyle();
  laWindowStyles->SetCaption(FormatValue(Style, "", ifCurrent));
  for (std::string_view Name : DecodeStyle(Style, WindowStyleNames))
    lbStylesList->Add(Name);
  const std::uint32_t ExtStyle = Window.ExtWindowStyle();
  laExtendedStyles->SetCaption(FormatValue(ExtStyle, "", ifCurrent));
  for (std::string_view Name : DecodeStyle(ExtStyle, ExtendedStyleNames))
    lbExtStylesList->Add(Name);
  edClassName->SetText(Window.ClassName());
  llProcessID->SetCaption(FormatValue(Window.ProcessID(), "", ifCurrent));
  llThreadID->SetCaption(FormatValue(Window.ThreadID(), "", ifCurrent));
  return true;
}

} // namespace wyndo
