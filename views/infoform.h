#pragma once
// Information windows: TInfoForm, the base, keeps its own information object; TWindowInfoForm
// shows what is known of one window on five pages, read once when the window gets its object.

#include "controls/smallcontrols.h"
#include "controls/wyndoform.h"
#include "core/errors.h"
#include "info/infoobjects.h"
#include "ui/comctrls.h"
#include "ui/layout.h"
#include "ui/stdctrls.h"

#include <memory>

namespace wyndo {

class TInfoForm : public TWyndoForm {
public:
  // The form keeps Own as its information object.
  explicit TInfoForm(std::unique_ptr<TBasicInfo> Own);
  // Copies the identity of Info into the form's own object; false when that fails.
  virtual bool SetInfo(const TBasicInfo& Info);
  // Information windows keep the numbers they showed when they were opened.
  void SettingsChanged() override {}
  const TBasicInfo& Info() const { return *FInfo; }

protected:
  std::unique_ptr<TBasicInfo> FInfo;
};

// Makes an information window for Info: the form is created, then given Info; a form that
// rejects it is not made ("Invalid Object").
template <class T>
TFormPtr<T> CreateInfoForm(const TBasicInfo& Info) {
  TFormPtr<T> Form = MakeForm<T>();
  if (!Form->SetInfo(Info))
    throw Exception("Invalid Object");
  return Form;
}

class TWindowInfoForm : public TInfoForm {
public:
  TWindowInfoForm();
  const char* WindowClassName() const override { return "TWindowInfoForm"; }
  // Reads the window's values now and fills the pages once.
  bool SetInfo(const TBasicInfo& Info) override;
  const TWindowInfoObject& WindowInfo() const {
    return static_cast<const TWindowInfoObject&>(*FInfo);
  }

  TPageControl* PageControl = nullptr;
  // General
  TEdit* edWindowCaption = nullptr;
  TLabel* laWindowHandle = nullptr;
  TLabel* laWindowProc = nullptr;
  TLabel* laWndRectangle = nullptr;
  TLabel* laRestoredRect = nullptr;
  TLabel* laClientRect = nullptr;
  // Styles
  TLabel* laWindowStyles = nullptr;
  TListBox* lbStylesList = nullptr;
  TLabel* laExtendedStyles = nullptr;
  TListBox* lbExtStylesList = nullptr;
  // Class
  TEdit* edClassName = nullptr;
  TListBox* ClassStyleList = nullptr;
  // Windows
  TLinkLabel* ParentWindow = nullptr;
  TLinkLabel* OwnerWindow = nullptr;
  TListBox* ChildWindows = nullptr;
  TButton* Select = nullptr;
  TButton* Properties = nullptr;
  // Process
  TLinkLabel* llProcessID = nullptr;
  TLinkLabel* llThreadID = nullptr;

private:
  void FormKeyDown(TObject& Sender, WORD& Key, TShiftState Shift);
  static const TLayoutItem<TWindowInfoForm> Layout[];
};

} // namespace wyndo
