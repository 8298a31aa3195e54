/* The smallest useful CGI program: the yardstick that the gateway's own
 * start-up and page are compared with. It answers every request with a short
 * HTML page that echoes the query string, as a process of its own, the way
 * the web server starts the gateway. */
#include <stdio.h>
#include <stdlib.h>

int main(void) {
  const char *q = getenv("QUERY_STRING");
  fputs("Content-Type: text/html\r\n\r\n", stdout);
  fputs("<!DOCTYPE html>\r\n<html><head><title>min</title></head><body>\r\n<p>", stdout);
  for (const char *p = q ? q : ""; *p; ++p) {
    if (*p == '<') fputs("&lt;", stdout);
    else if (*p == '&') fputs("&amp;", stdout);
    else putchar(*p);
  }
  fputs("</p>\r\n</body></html>\r\n", stdout);
  return 0;
}
