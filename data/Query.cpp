#include "data/Query.h"

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

void AppendSqlQuoted(std::string& out, std::string_view value) {
  out.reserve(out.size() + value.size() + 4);
  // The stretches between quotes and NULs are appended whole.
  size_t from = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c != '\'' && c != '\0') continue;
    out.append(value.substr(from, i - from));
    if (c == '\'') out += "''";  // doubled; a NUL would cut the statement short in the client libraries
    from = i + 1;
  }
  out.append(value.substr(from));
}

std::string SqlQuote(std::string_view value) {
  std::string out;
  AppendSqlQuoted(out, value);
  return out;
}
