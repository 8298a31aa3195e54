#!/usr/bin/env bash
# Adds N invented customers to a copy of the demo database, for the result
# list measurements:
#
#   bench/add-customers.sh DB N
#
# Each new customer is a copy of one of the demo's visible customers (taken
# in turn) with all of its offer-table rows, under the id 900000 + k and the
# name "Benchkund Akkkk" for k <= 100, "Benchkund Bkkkk" after that. So the
# search "ftagnamn=benchkund a" finds 100 of them and "ftagnamn=benchkund"
# finds all N.
set -euo pipefail
db=${1:?usage: add-customers.sh DB N}
n=${2:?usage: add-customers.sh DB N}
tables="Konf Aktv Logi Rfst Wend Undh Julb Fdag Bokn Blev"
cols() { sqlite3 "$db" "SELECT group_concat('\"' || name || '\"', ',') FROM pragma_table_info('$1')"; }
{
  echo "BEGIN;"
  echo "CREATE TEMP TABLE src AS SELECT Kundid AS sid, row_number() OVER (ORDER BY Kundid) - 1 AS k"
  echo "  FROM Kund WHERE Status IN ('B','F','P','G','A');"
  echo "CREATE TEMP TABLE map AS WITH RECURSIVE nums(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM nums WHERE n < $n)"
  echo "  SELECT CAST(900000 + n AS TEXT) AS newid, n, src.sid AS sid FROM nums"
  echo "  JOIN src ON src.k = nums.n % (SELECT count(*) FROM src);"
  for t in Kund $tables; do
    c=$(cols "$t")
    echo "CREATE TEMP TABLE new_$t AS SELECT map.newid AS bench_newid, map.n AS bench_n, \"$t\".* FROM map"
    echo "  JOIN \"$t\" ON \"$t\".Kundid = map.sid;"
    echo "UPDATE new_$t SET Kundid = bench_newid;"
    if [ "$t" = Kund ]; then
      echo "UPDATE new_Kund SET Ftagnamn = 'Benchkund ' || CASE WHEN bench_n <= 100 THEN 'A' ELSE 'B' END"
      echo "  || printf('%04d', bench_n);"
    fi
    echo "INSERT INTO \"$t\" ($c) SELECT $c FROM new_$t;"
  done
  echo "COMMIT;"
} | sqlite3 -bail "$db"
