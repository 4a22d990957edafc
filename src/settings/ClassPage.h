// The Document and Classes pages: one page class on one dialog template that edits either the
// active document's class or the class registry, in five sections.
#pragma once

#include <vector>

#include "config/ClassFields.h"
#include "config/DocClass.h"
#include "settings/SettingsPage.h"

class SettingsHost;

class ClassPage final : public ListEditorPage {
 public:
  // classesMode: the Classes page; otherwise the Document page.
  ClassPage(SettingsHost& host, bool classesMode);

  bool OnInit(HWND window) override;
  bool OnApply() override;
  bool OnCommand(int id, int code) override;
  bool Validate() override { return ValidateTouched(); }
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

 protected:
  bool ValidateCurrent() override;
  void ClearFields(bool enable) override;
  void LoadItem(int index) override;
  void CopyFieldsToCurrent() override;
  void EnableFields(bool enable) override;
  void InsertItem(const std::wstring& name, int index) override;
  void EraseItem(int index) override;
  bool NameAllowed(const std::wstring& name) const override;
  // The default class (the last item) stays, whatever reaches Delete.
  bool CanDelete(int index) const override { return !IsLast(index); }

 private:
  // ClassPage.cpp
  void AttachControls();
  void MakeWorkingList();
  void ShowSection(int index);
  void ShowSectionById(int sectionId);
  void FillSections(bool defaultClass);
  bool IsLast(int index) const { return index == static_cast<int>(working_.size()) - 1; }
  bool OnSectionCommand(int id, int code);
  void AddFilter();
  void DeleteFilter();
  void DisableAllFields();

  // ClassPageFields.cpp
  void FillFamilies();
  void FillSizes();
  void FillSyntaxFiles();
  void FillStyles();
  void FillColourSlots(const ColourTable& colours);
  ClassFields ReadFields() const;
  void ShowFields(const ClassFields& fields);
  void ShowFontFields(const ClassFields& fields);
  void ShowColour();
  void SetColour();
  void DrawSwatch(const DRAWITEMSTRUCT& item) const;
  void DrawSample(const DRAWITEMSTRUCT& item) const;

  SettingsHost& host_;
  bool classesMode_;
  // The Document page with no document open: the default class is shown, nothing is changed.
  bool readOnly_ = false;
  bool stored_ = false;  // fields were copied into the working list since the page opened
  // Classes mode: the named classes in class-name order, then the default class. Document
  // mode: one copy of the active document's class.
  std::vector<DocClass> working_;
  Colour shownColour_ = 0;  // the colour the swatch and the sample show
  bool colourShown_ = false;

  ControlWrapper activeDocument_;
  ComboWrapper section_;
  ControlWrapper tabsize_, relindent_, wordwrap_, indent_;
  ControlWrapper filterText_, addFilter_, deleteFilter_;
  ListBoxWrapper filters_;
  ListBoxWrapper colours_;
  ControlWrapper swatch_, sample_, red_, green_, blue_, setColour_;
  ComboWrapper family_, style_, size_;
  ControlWrapper alterFont_, width_, compress_, cleartype_, proof_;
  ControlWrapper hasSyntax_, syntaxLabel_;
  ComboWrapper syntaxFile_;
};
