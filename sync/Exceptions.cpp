#include "Exceptions.h"

#include "Format.h"

void RaiseFileOpenError(const std::string& fileName) {
  throw EFOpenError(Format("ファイル %s は開けません", {fileName}));
}

void RaiseFileCreateError(const std::string& fileName) {
  throw EFCreateError(Format("ファイル %s を作成できません", {fileName}));
}

void RaiseListIndexError(int index) {
  throw EStringListError(Format("リストのインデックスが範囲を超えています (%d)", {std::int64_t{index}}));
}

EAbort::EAbort() : Exception("処理を中断しました。") {}

EOutOfMemory::EOutOfMemory(const std::string& fileName)
    : Exception(Format("メモリが不足しています（ファイル %s）", {fileName})) {}
