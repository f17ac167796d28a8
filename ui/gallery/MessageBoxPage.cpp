// Gallery page of the message box: one button per kind of box (button sets,
// languages, countdown, check box, caller texts, no buttons, multi-line
// text, empty and long captions). Screenshots open each box, capture it
// and answer it through the box hook.
#include <wx/button.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <cstdlib>
#include <string>

#include "app/Texts.h"
#include "platform/ResourceIds.h"
#include "ui/gallery/Gallery.h"
#include "ui/msgbox/ShowMessageDlg.h"

namespace {

// Boxes as the program shows them: its caption, some of its own questions.
const char* const kCaption = apptext::kCaption;

struct BoxCase {
  const char* name;
  const char* locale;  // LC_ALL while the box is up
  const char* text;    // UTF-8
  const char* caption;
  int type;
  int options;
  int seconds;
  const char* checkText;
  const char* buttonTexts;
  bool inactive;       // capture the inactive title bar
};

const BoxCase kCases[] = {
    {"ok-korean", "ko_KR.UTF-8", "파일을 여는데 실패하였습니다.", kCaption, MB_OK, 0, 0, "", "", false},
    {"yesno-korean", "ko_KR.UTF-8", apptext::kCloseUnsaved, kCaption, MB_YESNO, 0, 0, "", "", false},
    {"yesno-english", "en_US.UTF-8", "Close without saving?", kCaption, MB_YESNO | MB_DEFBUTTON2, 0, 0, "", "",
     false},
    {"yesnocancel-japanese", "ja_JP.UTF-8", "保存しますか?", kCaption, MB_YESNOCANCEL, 0, 0, "", "", false},
    {"okcancel-multiline", "ko_KR.UTF-8",
     "선택한 구간을 새 파일로 저장합니다.\n시작: 00:00:01.500\n끝: 00:02:03.250", kCaption, MB_OKCANCEL, 0, 0,
     "", "", false},
    {"countdown", "ko_KR.UTF-8", "%d초 후에 자동으로 닫힙니다.", kCaption, MB_OK, MDO_COUNTDOWN, 5, "", "",
     false},
    {"checkbox", "ko_KR.UTF-8", apptext::kStopWork, kCaption, MB_YESNO, MDO_CHECKBOX_CHECKED, 0,
     "다시 묻지 않기", "", false},
    {"buttontexts", "ko_KR.UTF-8", "어떻게 할까요?", kCaption, MB_YESNOCANCEL, MDO_BUTTONTEXTS, 0, "",
     "열기,,저장", false},
    {"nobuttons", "ko_KR.UTF-8", "잠시 기다려 주십시오...", kCaption, MB_OK, MDO_NOBUTTONS, 0, "", "", false},
    {"abortretryignore", "ko_KR.UTF-8", "지원하지 않는 버튼 조합입니다.", kCaption, MB_ABORTRETRYIGNORE, 0, 0,
     "", "", false},
    {"empty-caption", "ko_KR.UTF-8", "제목이 없는 상자", "", MB_OK, 0, 0, "", "", false},
    {"long-caption", "ko_KR.UTF-8", "짧은 글", "아주 긴 제목은 제목 표시줄의 끝에서 줄임표로 잘립니다 - 파도오디오 자르개",
     MB_OK, 0, 0, "", "", false},
    {"inactive", "ko_KR.UTF-8", "비활성 제목 표시줄", kCaption, MB_OK, 0, 0, "", "", true},
};

// Sets LC_ALL for the lifetime of the object.
class ScopedLocaleVariable {
 public:
  explicit ScopedLocaleVariable(const char* value) {
    if (const char* old = std::getenv("LC_ALL")) {
      m_hadOld = true;
      m_old = old;
    }
    setenv("LC_ALL", value, 1);
  }
  ~ScopedLocaleVariable() {
    if (m_hadOld) {
      setenv("LC_ALL", m_old.c_str(), 1);
    } else {
      unsetenv("LC_ALL");
    }
  }

 private:
  bool m_hadOld = false;
  std::string m_old;
};

int ShowCase(wxWindow* owner, const BoxCase& box) {
  ScopedLocaleVariable locale(box.locale);
  const MessageDlgValue value = (box.options & MDO_COUNTDOWN) ? MessageDlgValue(box.seconds)
                                                              : MessageDlgValue(box.checkText);
  int checkState = -1;
  return ShowMessageDlg(owner, wxString::FromUTF8(box.text), wxString::FromUTF8(box.caption), box.type,
                        box.options, value, wxString::FromUTF8(box.buttonTexts), &checkState);
}

class MessageBoxPage : public wxPanel {
 public:
  explicit MessageBoxPage(wxWindow* parent) : wxPanel(parent) {
    SetMessageDlgIcon(IDI_APP);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, "Open a box:"), 0, wxALL, 6);
    auto* grid = new wxGridSizer(3, 6, 6);
    for (const BoxCase& box : kCases) {
      auto* button = new wxButton(this, wxID_ANY, box.name);
      button->Bind(wxEVT_BUTTON, [this, &box](wxCommandEvent&) {
        const int result = ShowCase(this, box);
        m_pResult->SetLabel(wxString::Format("%s: result %d", box.name, result));
      });
      grid->Add(button, 0, wxEXPAND);
    }
    sizer->Add(grid, 0, wxALL, 6);
    m_pResult = new wxStaticText(this, wxID_ANY, "result: -");
    sizer->Add(m_pResult, 0, wxALL, 6);
    SetSizer(sizer);
  }

  // Opens every box, captures it once it is painted, and answers it.
  int Screenshots(const wxString& folder) {
    int written = 0;
    bool failed = false;
    for (const BoxCase& box : kCases) {
      ScopedMessageDlgHook hook([&](CMessageDlg& open) {
        GalleryPump(300);
        if (box.inactive) {
          wxActivateEvent deactivate(wxEVT_ACTIVATE, false);
          open.GetEventHandler()->ProcessEvent(deactivate);
          GalleryPump(100);
        }
        const wxString path = wxString::Format("%s/msgbox-%s.png", folder, box.name);
        if (SavePng(GrabWindow(&open), path)) {
          ++written;
        } else {
          failed = true;
        }
        open.PressButton(MESSAGEDLG_ESCAPE);
      });
      if (ShowCase(this, box) == -1) failed = true;
    }
    return failed ? -1 : written;
  }

 private:
  wxStaticText* m_pResult = nullptr;
};

GALLERY_PAGE(
    "Message box", [](wxWindow* parent) -> wxWindow* { return new MessageBoxPage(parent); },
    [](wxWindow* page, const wxString& folder) { return static_cast<MessageBoxPage*>(page)->Screenshots(folder); });

}  // namespace
