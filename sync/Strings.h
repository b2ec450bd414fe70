// The file list lent to the engine: an ordered list of byte strings indexed
// from 0. Front ends adapt their own containers (a list box's entries, for
// instance) by implementing the four operations.
#pragma once

#include <string>
#include <vector>

class TStrings {
 public:
  virtual ~TStrings() = default;
  virtual int Count() const = 0;
  // Raises EStringListError for an index outside 0 to Count() - 1.
  virtual std::string Get(int index) const = 0;
  virtual void Clear() = 0;
  virtual void Add(const std::string& item) = 0;
};

// The plain list of strings the console program uses.
class TStringList : public TStrings {
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string> items) : items_(items) {}
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  void Clear() override { items_.clear(); }
  void Add(const std::string& item) override { items_.push_back(item); }
  // Raises EStringListError for an index outside the list.
  void Delete(int index);
  const std::vector<std::string>& Items() const { return items_; }

 private:
  std::vector<std::string> items_;
};
