#include "finder/wndfields.h"

#include "controls/shell.h"
#include "core/errors.h"
#include "core/format.h"
#include "core/settings.h"
#include "info/functions.h"
#include "info/infoobjects.h"
#include "ui/forms.h"
#include "ui/winutil.h"
#include "views/infoform.h"

namespace wyndo {

void TWndFields::FoundWnd(HWND Window) {
  if (!::IsWindow(Window)) {
    const std::string Text = FormatValue(FromWindow(Window), "", ifCurrent) + " is not a Window";
    ::MessageBoxA(FOwner.Handle(), Text.c_str(), "Invalid Handle", MB_ICONERROR);
    return;
  }
  const TWindowInfoObject Info(FromWindow(Window));
  FReactToEdits = false;
  WndHandle->SetText(FormatValue(FromWindow(Window), "", ifCurrent));
  WndCaption->SetHint(Info.WindowText());
  WndCaption->SetText(WndCaption->Hint());
  WndClass->SetText(Info.ClassName());
  FReactToEdits = true;
}

void TWndFields::KeyPress(char Key) {
  if (Key != '\r')
    return;
  const std::uint32_t Handle = ParseHandle(WndHandle->Text(), true);
  if (Handle != 0)
    FoundWnd(ToWindow(Handle));
}

void TWndFields::CaptionChange() {
  if (!FReactToEdits)
    return;
  const std::string Caption = WndCaption->Text();
  const std::string Class = WndClass->Text();
  const HWND Found = ::FindWindowA(Class.empty() ? nullptr : Class.c_str(),
                                   Caption.empty() ? nullptr : Caption.c_str());
  WndHandle->SetText(Found ? FormatValue(FromWindow(Found), "", ifCurrent)
                           : LoadResString(SNoWindowFound));
}

void TWndFields::RewriteHandle() {
  try {
    WndHandle->SetText(FormatValue(ParseValue(WndHandle->Text(), "Invalid Value"), "", ifCurrent));
  } catch (const EConvertError&) {
    // An empty field, "<no window found>" or a text that does not read: left as it is.
  }
}

void SelectHandleInLists(const std::string& HandleText) {
  const std::uint32_t Handle = ParseHandle(HandleText, false);
  if (Handle != 0)
    Shell().SelectWindowInLists(Handle);
}

void ShowHandleProperties(const std::string& HandleText) {
  const std::uint32_t Handle = ParseHandle(HandleText, true);
  if (!::IsWindow(ToWindow(Handle)))
    return;
  for (TWyndoForm* Child : Shell().ChildWindows())
    if (auto* InfoForm = dynamic_cast<TWindowInfoForm*>(Child))
      if (InfoForm->WindowInfo().Handle() == Handle) {
        InfoForm->BringToFront();
        return;
      }
  const TWindowInfoObject Info(Handle);
  Shell().OpenChildWindow(TChildKind::ckWindowInfo, &Info);
}

} // namespace wyndo
