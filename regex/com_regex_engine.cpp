// "VBScript.RegExp" driven through IDispatch late binding.

#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <utility>

#include "regex/regex_engine.h"

namespace regex {

namespace {

// Owns one reference to a dispatch interface.
class DispatchPtr {
 public:
  DispatchPtr() = default;
  explicit DispatchPtr(IDispatch* adopted) : p_(adopted) {}
  DispatchPtr(const DispatchPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  DispatchPtr& operator=(DispatchPtr other) {
    std::swap(p_, other.p_);
    return *this;
  }
  ~DispatchPtr() {
    if (p_) p_->Release();
  }
  IDispatch* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  IDispatch* p_ = nullptr;
};

class Bstr {
 public:
  explicit Bstr(const std::wstring& text) : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(s_); }
  BSTR get() const { return s_; }

 private:
  BSTR s_;
};

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  explicit Variant(const std::wstring& text) : Variant() {
    v_.vt = VT_BSTR;
    v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  }
  explicit Variant(bool value) : Variant() {
    v_.vt = VT_BOOL;
    v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  explicit Variant(long value) : Variant() {
    v_.vt = VT_I4;
    v_.lVal = value;
  }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&v_); }
  VARIANT* get() { return &v_; }

  // Empty and Null read as empty text, numbers as their decimal form.
  std::wstring Text() const {
    if (v_.vt == VT_BSTR) return v_.bstrVal ? std::wstring(v_.bstrVal, SysStringLen(v_.bstrVal)) : std::wstring();
    Variant converted;
    if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&v_), 0, VT_BSTR)) || !converted.v_.bstrVal)
      return {};
    return std::wstring(converted.v_.bstrVal, SysStringLen(converted.v_.bstrVal));
  }
  bool Long(long& value) const {
    Variant converted;
    if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&v_), 0, VT_I4))) return false;
    value = converted.v_.lVal;
    return true;
  }
  // Takes the reference out of an object-valued result.
  DispatchPtr TakeDispatch() {
    if (v_.vt != VT_DISPATCH || !v_.pdispVal) return {};
    DispatchPtr owner(v_.pdispVal);
    v_.vt = VT_EMPTY;
    v_.pdispVal = nullptr;
    return owner;
  }

 private:
  VARIANT v_;
};

// Argument arrays of Variant are handed to Invoke as arrays of VARIANT.
static_assert(sizeof(Variant) == sizeof(VARIANT), "Variant must lay out as VARIANT");

bool DispatchId(IDispatch* object, const wchar_t* name, DISPID& id) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

// The dispatch id of one name on the objects of one kind (every match of a
// collection, say), looked up on the first of them only: a match is read
// with several calls, thousands of times for a long page.
class CachedId {
 public:
  explicit CachedId(const wchar_t* name) : name_(name) {}
  bool Find(IDispatch* object, DISPID& id) const {
    if (!known_) known_ = DispatchId(object, name_, id_);
    id = id_;
    return known_;
  }

 private:
  const wchar_t* name_;
  mutable bool known_ = false;
  mutable DISPID id_ = DISPID_UNKNOWN;
};

bool InvokeId(IDispatch* object, DISPID id, WORD flags, VARIANT* reversedArgs, UINT argCount, Variant* result) {
  DISPPARAMS params = {reversedArgs, nullptr, argCount, 0};
  DISPID putId = DISPID_PROPERTYPUT;
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? result->get() : nullptr,
                                  nullptr, nullptr));
}

// Calls `name` with `args` written in the order of the call; DISPPARAMS
// wants them last first, so they are passed here already reversed.
bool Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* reversedArgs, UINT argCount, Variant* result) {
  DISPID id;
  return object && DispatchId(object, name, id) && InvokeId(object, id, flags, reversedArgs, argCount, result);
}

bool Invoke(IDispatch* object, const CachedId& name, WORD flags, VARIANT* reversedArgs, UINT argCount,
            Variant* result) {
  DISPID id;
  return object && name.Find(object, id) && InvokeId(object, id, flags, reversedArgs, argCount, result);
}

template <typename Name>
bool Get(IDispatch* object, const Name& name, Variant& result) {
  return Invoke(object, name, DISPATCH_PROPERTYGET, nullptr, 0, &result);
}

bool Put(IDispatch* object, const wchar_t* name, Variant& value) {
  return Invoke(object, name, DISPATCH_PROPERTYPUT, value.get(), 1, nullptr);
}

// Item(index) of a collection; the engine's collections count from 0.
template <typename Name>
bool Item(IDispatch* collection, int index, Variant& result, const Name& item) {
  Variant arg(static_cast<long>(index));
  return Invoke(collection, item, DISPATCH_PROPERTYGET | DISPATCH_METHOD, arg.get(), 1, &result);
}

bool Item(IDispatch* collection, int index, Variant& result) { return Item(collection, index, result, L"Item"); }

template <typename Name>
DispatchPtr ItemObject(IDispatch* collection, int index, const Name& item) {
  Variant result;
  if (!Item(collection, index, result, item)) return {};
  return result.TakeDispatch();
}

int CountOf(IDispatch* collection) {
  Variant count;
  long value = 0;
  if (!Get(collection, L"Count", count) || !count.Long(value) || value < 0) return 0;
  return static_cast<int>(value);
}

class ComRegexEngine final : public RegexEngine {
 public:
  explicit ComRegexEngine(DispatchPtr regex) : regex_(std::move(regex)) {}

  std::unique_ptr<RegexEngine> Copy() const override { return std::make_unique<ComRegexEngine>(*this); }

  bool Search(const std::wstring& pattern, const std::wstring& subject, const SearchOptions& options) override {
    Variant ignoreCase(options.ignoreCase), multiline(options.multiline), global(options.global);
    Variant patternValue(pattern);
    Put(regex_.get(), L"IgnoreCase", ignoreCase);
    Put(regex_.get(), L"Multiline", multiline);
    Put(regex_.get(), L"Global", global);
    Put(regex_.get(), L"Pattern", patternValue);
    Variant arg(subject), result;
    matches_ = Invoke(regex_.get(), L"Execute", DISPATCH_METHOD, arg.get(), 1, &result) ? result.TakeDispatch()
                                                                                        : DispatchPtr();
    // The collection never changes: counted once.
    matchCount_ = matches_ ? CountOf(matches_.get()) : 0;
    return static_cast<bool>(matches_);
  }

  std::wstring PatternText() const override {
    Variant pattern;
    return Get(regex_.get(), L"Pattern", pattern) ? pattern.Text() : std::wstring();
  }

  std::wstring ReplaceMatches(const std::wstring& subject, const std::wstring& replacement) const override {
    Variant args[] = {Variant(replacement), Variant(subject)};  // reversed: Replace(subject, replacement)
    Variant result;
    if (!Invoke(regex_.get(), L"Replace", DISPATCH_METHOD, args[0].get(), 2, &result)) return {};
    return result.Text();
  }

  int MatchCount() const override { return matchCount_; }

  // Every call through the engine's IDispatch is dear under Wine: the start
  // is asked for only when it is wanted.
  bool MatchAt(int index, std::wstring& text, size_t* firstIndex) const override {
    if (index < 0 || index >= MatchCount()) return false;
    DispatchPtr match = ItemObject(matches_.get(), index, matchesItem_);
    Variant value;
    if (!Get(match.get(), matchValue_, value)) return false;
    if (firstIndex) {
      Variant first;
      long start = 0;
      if (!Get(match.get(), matchFirstIndex_, first) || !first.Long(start) || start < 0) return false;
      *firstIndex = static_cast<size_t>(start);
    }
    text = value.Text();
    return true;
  }

  bool SubMatchAt(int index, int group, std::wstring& text) const override {
    if (index < 0 || index >= MatchCount()) return false;
    DispatchPtr match = ItemObject(matches_.get(), index, matchesItem_);
    Variant subMatches;
    if (!Get(match.get(), L"SubMatches", subMatches)) return false;
    DispatchPtr groups = subMatches.TakeDispatch();
    if (!groups || group < 0 || group >= CountOf(groups.get())) return false;
    Variant value;
    if (!Item(groups.get(), group, value)) return false;
    text = value.Text();
    return true;
  }

  int SubMatchCount() const override {
    if (MatchCount() == 0) return 0;
    DispatchPtr match = ItemObject(matches_.get(), 0, matchesItem_);
    Variant subMatches;
    if (!Get(match.get(), L"SubMatches", subMatches)) return 0;
    DispatchPtr groups = subMatches.TakeDispatch();
    return groups ? CountOf(groups.get()) : 0;
  }

  EngineKind Kind() const override { return EngineKind::Com; }

 private:
  DispatchPtr regex_;
  DispatchPtr matches_;
  int matchCount_ = 0;
  CachedId matchesItem_{L"Item"}, matchValue_{L"Value"}, matchFirstIndex_{L"FirstIndex"};
};

}  // namespace

std::unique_ptr<RegexEngine> CreateComRegexEngine() {
  // The class is looked up in the registry once: a page is cut with two
  // engines, and the lookup costs more than the creation.
  static const std::optional<CLSID> regexClass = []() -> std::optional<CLSID> {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"VBScript.RegExp", &clsid))) return std::nullopt;
    return clsid;
  }();
  if (!regexClass) return nullptr;
  IDispatch* object = nullptr;
  if (FAILED(CoCreateInstance(*regexClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&object))) ||
      !object)
    return nullptr;
  return std::make_unique<ComRegexEngine>(DispatchPtr(object));
}

}  // namespace regex
