// Every text the program's window and About box show, each defined once
// (UTF-8, '\n' between lines, '&' before a menu item's access key). The
// window's components have theirs in ui/Texts.h; what the window tells about
// a failed playback or analysis (and about a stretch it cannot play) comes
// from pipeline/Texts.h, shared with padocut-cli.
//
// Code refers to a text by its name here and never spells it out again; the
// tests compare with these names too.
//
// The window speaks Korean or English (gettext; platform/wx/Translation.h).
// These Korean texts are the catalog's message ids. For a new text:
//  - define it here as  inline constexpr char kName[] = N_("...");
//    (N_ leaves the text as it is and marks it for xgettext);
//  - show it through Tr(apptext::kName), which gives the English text when
//    the window is English; wxString::FromUTF8 or Utf8 would show Korean to
//    everyone. A table of texts keeps the names and calls Tr where it builds
//    the labels. A shortcut ("\tCtrl+O") is added after Tr, never written
//    into a text;
//  - give it its English text in po/en.po: the target padocut-po-update
//    adds every new id there with an empty text to fill in. Keep the one '&'
//    of a menu text, the '\n' at either end, and a filter's "|*.mp3".
// The test po_catalog fails on a marked text without an English text and on
// an unmarked Korean text in any Texts.h of app/, ui/ and pipeline/.
#pragma once

#include "platform/TextMarker.h"

namespace apptext {

inline constexpr char kCaption[] = N_("파도오디오 자르개");

// Menu 128, with the view menu between the file and the help menus.
inline constexpr char kFileMenu[] = N_("파일(&F)");
inline constexpr char kViewMenu[] = N_("보기(&V)");
inline constexpr char kHelpMenu[] = N_("도움말(&H)");
inline constexpr char kOpenFileItem[] = N_("파일 열기(&O)");
inline constexpr char kCloseFileItem[] = N_("파일 닫기(&C)");
inline constexpr char kCutItem[] = N_("자르기(&S)...");
inline constexpr char kExactCutItem[] = N_("샘플 단위 정밀 자르기(&P)");
inline constexpr char kLevelItem[] = N_("음량 조절(&V)...");
inline constexpr char kKeepCoverItem[] = N_("커버 그림 유지(&K)");
inline constexpr char kFindSilenceItem[] = N_("무음 구간 찾기(&D)");
inline constexpr char kSplitTracksItem[] = N_("트랙으로 나누기(&T)...");
inline constexpr char kExitItem[] = N_("종료(&X)");
inline constexpr char kAboutItem[] = N_("파도오디오 자르개 정보(&A)");
inline constexpr char kZoomInItem[] = N_("확대(&I)");
inline constexpr char kZoomOutItem[] = N_("축소(&O)");
inline constexpr char kShowAllItem[] = N_("전체 보기(&F)");
inline constexpr char kZoomSelectionItem[] = N_("선택 영역 보기(&S)");

// The main window's controls.
inline constexpr char kFileCaption[] = N_("현재 파일");
inline constexpr char kMouseCaption[] = N_("마우스 위치");
inline constexpr char kStartCaption[] = N_("시작");
inline constexpr char kEndCaption[] = N_("끝");
inline constexpr char kCutButton[] = N_("자르기");
inline constexpr char kCancelButton[] = N_("작업 취소");
// The template's three hidden buttons (the window never creates them).
inline constexpr char kCloseFileButton[] = N_("파일 닫기");
inline constexpr char kOpenFileButton[] = N_("파일 열기");
inline constexpr char kAnalyseButton[] = N_("분석");

// Why a typed start or end time was refused (shown beside the field).
inline constexpr char kTimeMalformed[] = N_("시간을 알아볼 수 없습니다. 예: 1:23.456");
inline constexpr char kEndBeforeStart[] = N_("끝이 시작보다 앞입니다.");
inline constexpr char kStartAfterEnd[] = N_("시작이 끝보다 뒤입니다.");

// The About box.
inline constexpr char kAboutText[] = N_("파도오디오 자르개는 MP3파일을 원하는 시간만큼 저장해주는 프로그램 입니다.");
// Followed by a space and the version ("0.1").
inline constexpr char kVersionLabel[] = N_("버전");
inline constexpr char kHelpPageButton[] = N_("도움말 페이지");
inline constexpr char kCloseButton[] = N_("닫기");

// The level dialog (GainDialog.h).
inline constexpr char kLevelTitle[] = N_("음량 조절");
inline constexpr char kGainLabel[] = N_("음량 (dB, 1.5 dB 단위)");
inline constexpr char kFadeInLabel[] = N_("페이드 인 (ms)");
inline constexpr char kFadeOutLabel[] = N_("페이드 아웃 (ms)");

// The silence dialog (SilenceDialog.h).
inline constexpr char kSilenceTitle[] = N_("무음 구간 찾기");
inline constexpr char kSilenceThresholdLabel[] = N_("무음 기준 (dB)");
inline constexpr char kSilenceLengthLabel[] = N_("최소 길이 (초)");

// The open and save dialogs ("description|pattern" filters).
inline constexpr char kOpenFilter[] = N_("mp3 파일(*.mp3)|*.mp3");
inline constexpr char kSaveTitle[] = N_("파일이름을 입력하세요.");
inline constexpr char kSaveFilter[] = N_("MP3 파일(*.mp3)|*.mp3");
// The save dialog's first answer: this prefix and the loaded file's title.
inline constexpr char kCutNamePrefix[] = N_("잘라낸파일_");

// Questions and reports (message boxes, with kCaption as their caption).
inline constexpr char kInitFailed[] = N_("초기화에 실패하였습니다.");
inline constexpr char kStopWork[] = N_("작업을 중단 하시겠습니까?");
inline constexpr char kCloseCurrent[] = N_("현재 파일을 닫으시겠습니까?");
inline constexpr char kCloseUnsaved[] = N_("저장하지 않고 닫으시겠습니까?");
inline constexpr char kNoStretch[] = N_("잘라내기할 구간을 먼저 설정하여주십시오.");
inline constexpr char kTooShort[] = N_("잘라내기할 구간을 1초이상으로 하십시오.");
inline constexpr char kCutFailed[] = N_("잘라내기에 실패하였습니다.");
inline constexpr char kReopen[] = N_("파일을 다시 열겠습니다.");
inline constexpr char kOpenCut[] = N_("잘라낸 파일을 여시겠습니까?");
// A cut whose gain would clip; the most gain that fits follows ("+4.5 dB").
inline constexpr char kGainWouldClip[] = N_("음량을 그만큼 올리면 소리가 깨집니다.\n올릴 수 있는 최대 음량:");
// Asked under the file's name when the ".mp3" the window adds names a file
// that already exists (the save dialog asked about the name without it).
inline constexpr char kReplace[] = N_("같은 이름의 파일이 이미 있습니다.\n바꾸시겠습니까?");

// Finding silences and splitting into tracks. A number follows the texts
// that end in ':' (" 3 / 3").
inline constexpr char kNoSilenceFound[] = N_("무음 구간을 찾지 못하였습니다.");
inline constexpr char kSilenceFailed[] = N_("무음 구간을 찾는데 실패하였습니다.");
inline constexpr char kSplitFolderTitle[] = N_("트랙을 저장할 폴더를 고르세요.");
// Asked under the name of a track file that already exists.
inline constexpr char kTracksExist[] = N_("같은 이름의 트랙 파일이 이미 있습니다.\n모두 바꾸시겠습니까?");
inline constexpr char kSplitFailed[] = N_("트랙으로 나누는데 실패하였습니다.");
inline constexpr char kTracksWritten[] = N_("저장한 트랙 수:");
inline constexpr char kSplitCancelled[] = N_("트랙 나누기를 취소하였습니다.");

}  // namespace apptext
