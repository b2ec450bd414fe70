#include "Exceptions.h"

#include "Format.h"
#include "TextEncoding.h"

namespace {

constexpr std::size_t kKeptCharacters = 60;

// Where the character of the given index starts, or the size.
std::size_t CharacterStart(const std::string& text, std::size_t index) {
  std::size_t pos = 0;
  for (; pos < text.size() && index > 0; --index) pos += CharacterLength(NativeEncoding(), text, pos);
  return pos;
}

}  // namespace

std::string ShortenedName(const std::string& name) {
  std::size_t characters = 0;
  for (std::size_t pos = 0; pos < name.size(); pos += CharacterLength(NativeEncoding(), name, pos)) ++characters;
  if (characters <= 2 * kKeptCharacters + 1) return name;
  return name.substr(0, CharacterStart(name, kKeptCharacters)) + "…" +
         name.substr(CharacterStart(name, characters - kKeptCharacters));
}

void RaiseFileOpenError(const std::string& fileName) {
  throw EFOpenError(Format("ファイル %s は開けません", {ShortenedName(fileName)}));
}

void RaiseFileCreateError(const std::string& fileName) {
  throw EFCreateError(Format("ファイル %s を作成できません", {ShortenedName(fileName)}));
}

void RaiseListIndexError(int index) {
  throw EStringListError(Format("リストのインデックスが範囲を超えています (%d)", {std::int64_t{index}}));
}

EAbort::EAbort() : Exception("処理を中断しました。") {}

EOutOfMemory::EOutOfMemory(const std::string& fileName)
    : Exception(Format("メモリが不足しています（ファイル %s）", {ShortenedName(fileName)})) {}
