#include "data/Query.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "data/DbBackend.h"

// ---------------------------------------------------------------- result

void DbColumns::BuildIndex() const {
  if (indexed_) return;
  size_t size = 8;
  while (size < 2 * names.size()) size *= 2;
  slots_.assign(size, Slot{});
  const size_t mask = size - 1;
  for (size_t c = 0; c < names.size(); ++c) {
    uint64_t h = ColumnName::Hash(names[c]);
    const auto top = static_cast<uint32_t>(h >> 32);
    for (size_t i = h & mask;; i = (i + 1) & mask) {
      Slot& s = slots_[i];
      if (s.column < 0) {
        s.column = static_cast<int32_t>(c);
        s.hash = top;
        break;
      }
      if (s.hash == top && ColumnName::Equal(names[static_cast<size_t>(s.column)], names[c])) break;  // first wins
    }
  }
  indexed_ = true;
}

const std::shared_ptr<const DbColumns>& NoColumns() {
  static const std::shared_ptr<const DbColumns> none = [] {
    auto c = std::make_shared<DbColumns>();
    c->BuildIndex();
    return c;
  }();
  return none;
}

DbCell DbResult::At(int row, int column) const {
  const Cell& s = Stored(row, column);
  DbCell c;
  c.kind = s.kind;
  if (s.kind != DbKind::Text && !(s.form & kIsoText)) {
    std::memcpy(&c.num, &s.num, sizeof c.num);
    return c;
  }
  std::string_view bytes(bytes_.data() + s.num.offset, s.length);
  if (s.form & kIsoText) {
    TDateTime dt;
    if (ParseIsoDateTime(bytes, dt)) {
      c.num.f = dt;
      return c;
    }
    c.kind = DbKind::Text;  // not a date after all: read as the text it is
  }
  if (s.form & kUtf8)
    c.text = Utf8ToCp1252(bytes);
  else
    c.text.assign(bytes);
  return c;
}

// ---------------------------------------------------------------- field

namespace {

DbCell CellOf(const DbResult* r, int row, int column) {
  if (!r || row < 0 || row >= r->rows) return {};  // no current row: every field is NULL
  return r->At(row, column);
}

double TextToFloat(const std::string& text) {
  std::string t = Trim(text);
  for (auto& c : t)
    if (c == ',') c = '.';
  double v = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size())
    throw EConvertError("'" + text + "' is not a valid floating point value");
  return v;
}

}  // namespace

std::string TField::AsString() const {
  // Most fields that a page reads are texts: written straight into the
  // string returned.
  if (result_ && row_ >= 0 && row_ < result_->rows) {
    DbResult::StoredText t = result_->TextBytes(row_, column_);
    if (t.text) return t.utf8 ? Utf8ToCp1252(t.bytes) : std::string(t.bytes);
  }
  DbCell c = CellOf(result_, row_, column_);
  switch (c.kind) {
    case DbKind::Null: return {};
    case DbKind::Integer: return IntToStr(c.num.i);
    case DbKind::Float: return FloatToStr(c.num.f);
    case DbKind::Boolean: return c.num.i ? "True" : "False";
    case DbKind::Date: return DateToStr(c.num.f);
    case DbKind::DateTime: return DateTimeToStr(c.num.f);
    case DbKind::Text: return std::move(c.text);
  }
  return {};
}

int32_t TField::AsInteger() const {
  const DbCell c = CellOf(result_, row_, column_);
  switch (c.kind) {
    case DbKind::Null: return 0;
    case DbKind::Integer:
    case DbKind::Boolean: return static_cast<int32_t>(c.num.i);
    case DbKind::Float:
    case DbKind::Date:
    case DbKind::DateTime: return static_cast<int32_t>(std::llround(c.num.f));
    case DbKind::Text:
      // An empty text reads like NULL; any other text must be a whole number.
      return Trim(c.text).empty() ? 0 : StrToInt(c.text);
  }
  return 0;
}

double TField::AsFloat() const {
  const DbCell c = CellOf(result_, row_, column_);
  switch (c.kind) {
    case DbKind::Null: return 0;
    case DbKind::Integer:
    case DbKind::Boolean: return static_cast<double>(c.num.i);
    case DbKind::Float:
    case DbKind::Date:
    case DbKind::DateTime: return c.num.f;
    case DbKind::Text: return Trim(c.text).empty() ? 0 : TextToFloat(c.text);
  }
  return 0;
}

TDateTime TField::AsDateTime() const {
  const DbCell c = CellOf(result_, row_, column_);
  switch (c.kind) {
    case DbKind::Null: return 0;
    case DbKind::Integer:
    case DbKind::Boolean: return static_cast<double>(c.num.i);
    case DbKind::Float:
    case DbKind::Date:
    case DbKind::DateTime: return c.num.f;
    case DbKind::Text: {
      if (Trim(c.text).empty()) return 0;
      TDateTime dt;
      if (!ParseIsoDateTime(Trim(c.text), dt)) throw EConvertError("'" + c.text + "' is not a valid date and time");
      return dt;
    }
  }
  return 0;
}

bool TField::IsNull() const {
  return !result_ || row_ < 0 || row_ >= result_->rows || result_->IsNull(row_, column_);
}

// ---------------------------------------------------------------- query

TQuery::TQuery(std::string name) : name_(std::move(name)) {}
TQuery::~TQuery() = default;

void TQuery::SetConnectionString(const std::string& s) {
  connectionString_ = s;
  databaseName_.clear();
}

void TQuery::SetDatabaseName(const std::string& alias) {
  databaseName_ = alias;
  connectionString_.clear();
}

void TQuery::SetProperty(std::string_view property, const std::string& value) {
  if (SameText(property, "ConnectionString"))
    SetConnectionString(value);
  else if (SameText(property, "DatabaseName"))
    SetDatabaseName(value);
  else
    throw EDatabaseError(name_ + ": Property " + std::string(property) + " does not exist");
}

void TQuery::Open() {
  Close();
  if (SQL.Empty()) throw EDatabaseError(name_ + ": No SQL statement available");
  // Assigning a connection does not connect; the first statement does.
  bool alias = connectionString_.empty();
  DbConnection& conn = ThreadConnection(alias ? databaseName_ : connectionString_, alias);
  if (!statement_.Empty() && SQL.Changes() == statementChanges_)
    result_ = conn.Query(statement_);
  else
    result_ = conn.Query(SQL.Text());
  active_ = true;
  row_ = 0;
}

void TQuery::SetStatement(SqlStatement statement) {
  // The statement that SQL still holds (a query asked the same again): its
  // lines stand as they are.
  if (SQL.Changes() == statementChanges_ && !statement_.Empty() && statement.SameAs(statement_)) return;
  SQL.Assign(statement.Lines());
  statementChanges_ = SQL.Changes();
  statement_ = std::move(statement);
}

uint64_t TQuery::ConnectionSerial() const {
  bool alias = connectionString_.empty();
  return ThreadConnection(alias ? databaseName_ : connectionString_, alias).Serial();
}

TQuery::TDatabaseVersion TQuery::DatabaseVersion() const {
  bool alias = connectionString_.empty();
  DbConnection& conn = ThreadConnection(alias ? databaseName_ : connectionString_, alias);
  TDatabaseVersion v;
  v.connection = conn.Serial();
  v.known = conn.DataVersion(v.version);
  return v;
}

void TQuery::Close() {
  active_ = false;
  row_ = 0;
  result_.reset();
}

void TQuery::First() { row_ = 0; }

void TQuery::Next() {
  if (result_ && row_ < result_->rows) ++row_;
}

bool TQuery::Eof() const { return !result_ || row_ >= result_->rows; }

int TQuery::RecordCount() const { return result_ ? result_->rows : 0; }

TField TQuery::FieldByName(std::string_view name) const {
  if (!active_ || !result_) throw EDatabaseError(name_ + ": Cannot perform this operation on a closed dataset");
  int column = result_->FindColumn(name);
  if (column < 0) throw EDatabaseError(name_ + ": Field '" + std::string(name) + "' not found");
  return TField(result_.get(), row_, column);
}

// ---------------------------------------------------------------- quoting

namespace {

bool HasZeroByte(uint64_t w) { return ((w - 0x0101010101010101ull) & ~w & 0x8080808080808080ull) != 0; }

}  // namespace

char* WriteSqlQuoted(char* out, std::string_view value) {
  const char* p = value.data();
  const size_t n = value.size();
  // The stretches between quotes and NULs are copied whole; eight bytes
  // without either are passed over at once.
  size_t from = 0, i = 0;
  while (i < n) {
    for (; i + 8 <= n; i += 8) {
      uint64_t w;
      std::memcpy(&w, p + i, 8);
      if (HasZeroByte(w) || HasZeroByte(w ^ 0x2727272727272727ull)) break;
    }
    for (const size_t end = std::min(n, i + 8); i < end; ++i) {
      const char c = p[i];
      if (c != '\'' && c != '\0') continue;
      std::memcpy(out, p + from, i - from);
      out += i - from;
      if (c == '\'') {  // doubled; a NUL would cut the statement short in the client libraries
        *out++ = '\'';
        *out++ = '\'';
      }
      from = i + 1;
    }
  }
  if (n > from) {
    std::memcpy(out, p + from, n - from);
    out += n - from;
  }
  return out;
}

void AppendSqlQuoted(std::string& out, std::string_view value) {
  const size_t at = out.size();
  out.resize(at + 2 * value.size());
  out.resize(static_cast<size_t>(WriteSqlQuoted(out.data() + at, value) - out.data()));
}

std::string SqlQuote(std::string_view value) {
  std::string out;
  AppendSqlQuoted(out, value);
  return out;
}
