/* Runs CGI programs the way a web server starts them, many times over, and
 * reports per case the median wall time of one request and the largest peak
 * memory.
 *
 *   benchrun [-n RUNS] [-w WARMUP] [-c CLIENTS] [-o DIR] LABEL CWD PROGRAM QUERY [LABEL CWD PROGRAM QUERY ...]
 *
 * The cases take turns (one run of each, then the next round), so that a
 * load that comes and goes on the machine falls on all of them alike. Each
 * run: a fresh process in CWD with a CGI environment for a GET request with
 * QUERY (and nothing of the caller's environment but PATH), its standard
 * output read through a pipe to the end, its end collected with wait4 for
 * the peak resident set size (ru_maxrss). With -o the output of each case's
 * last run is kept in DIR/LABEL.out.
 * Prints one line per case: LABEL median_us min_us max_us maxrss_kib bytes
 *
 * With -c CLIENTS, that many clients run at once, each on a thread of its
 * own doing RUNS rounds; the figures are over all CLIENTS x RUNS requests,
 * and each line ends with one more field: the number of answers shorter
 * than 90 % of the longest answer of the case (refusals, error pages). */
#define _GNU_SOURCE
#include <errno.h>
#include <pthread.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_us(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

static int cmp(const void *a, const void *b) {
  double x = *(const double *)a, y = *(const double *)b;
  return x < y ? -1 : x > y;
}

struct cas {
  const char *label, *dir, *prog;
  char qs[8192], script[512];
  double *t;
  long maxrss, bytes;
  long *len;  /* bytes of each run (with -c) */
};

static char path[4096];

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;

static int run(struct cas *c, const char *keep, double *us, long *len) {
  char buf[1 << 14];
  char *env[] = {path, "GATEWAY_INTERFACE=CGI/1.1", "SERVER_SOFTWARE=lighttpd/1.4", "SERVER_NAME=127.0.0.1",
                 "SERVER_ADDR=127.0.0.1", "SERVER_PORT=8080", "SERVER_PROTOCOL=HTTP/1.1", "REQUEST_METHOD=GET",
                 c->script, c->qs, "REMOTE_ADDR=127.0.0.1", "REMOTE_PORT=40000", "HTTP_HOST=127.0.0.1:8080",
                 "HTTP_USER_AGENT=benchrun", "HTTP_ACCEPT=*/*", "REDIRECT_STATUS=200", NULL};
  int fd[2];
  if (pipe2(fd, O_CLOEXEC) != 0) { perror("pipe"); return -1; }
  FILE *out = keep ? fopen(keep, "wb") : NULL;
  double t0 = now_us();
  pid_t pid = fork();
  if (pid < 0) { perror("fork"); return -1; }
  if (pid == 0) {
    if (chdir(c->dir) != 0) _exit(126);
    dup2(fd[1], 1);
    int null = open("/dev/null", O_RDONLY);
    if (null >= 0) dup2(null, 0);
    char *args[] = {(char *)c->prog, NULL};
    execve(c->prog, args, env);
    _exit(127);
  }
  close(fd[1]);
  long n, got = 0;
  while ((n = read(fd[0], buf, sizeof buf)) != 0) {
    if (n < 0) { if (errno == EINTR) continue; break; }
    got += n;
    if (out) fwrite(buf, 1, (size_t)n, out);
  }
  close(fd[0]);
  int status;
  struct rusage ru;
  while (wait4(pid, &status, 0, &ru) < 0 && errno == EINTR) {}
  *us = now_us() - t0;
  if (out) fclose(out);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fprintf(stderr, "benchrun: %s ended with status %d\n", c->prog, status);
    return -1;
  }
  pthread_mutex_lock(&lock);
  if (ru.ru_maxrss > c->maxrss) c->maxrss = ru.ru_maxrss;
  c->bytes = got;
  pthread_mutex_unlock(&lock);
  if (len) *len = got;
  return 0;
}

struct client {
  struct cas *cs;
  int ncase, runs, warm, index, failed;
};

/* One of the concurrent clients: its rounds of every case, in turns. */
static void *client_main(void *arg) {
  struct client *k = arg;
  for (int r = -k->warm; r < k->runs; ++r)
    for (int i = 0; i < k->ncase; ++i) {
      double us;
      long len;
      if (run(&k->cs[i], NULL, &us, &len) != 0) { k->failed = 1; return NULL; }
      if (r >= 0) {
        k->cs[i].t[k->index * k->runs + r] = us;
        k->cs[i].len[k->index * k->runs + r] = len;
      }
    }
  return NULL;
}

int main(int argc, char **argv) {
  int runs = 21, warm = 2, clients = 0, opt;
  const char *keepdir = NULL;
  while ((opt = getopt(argc, argv, "n:w:c:o:")) != -1) {
    switch (opt) {
      case 'c': clients = atoi(optarg); break;
      case 'n': runs = atoi(optarg); break;
      case 'w': warm = atoi(optarg); break;
      case 'o': keepdir = optarg; break;
      default: goto usage;
    }
  }
  if ((argc - optind) % 4 != 0 || argc == optind || runs < 1 || runs > 100000 || warm < 0 || clients < 0 ||
      clients > 1000)
    goto usage;
  snprintf(path, sizeof path, "PATH=%s", getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin");
  int ncase = (argc - optind) / 4;
  struct cas *cs = calloc((size_t)ncase, sizeof *cs);
  for (int i = 0; i < ncase; ++i) {
    struct cas *c = &cs[i];
    c->label = argv[optind + 4 * i];
    c->dir = argv[optind + 4 * i + 1];
    c->prog = argv[optind + 4 * i + 2];
    snprintf(c->qs, sizeof c->qs, "QUERY_STRING=%s", argv[optind + 4 * i + 3]);
    const char *base = strrchr(c->prog, '/');
    snprintf(c->script, sizeof c->script, "SCRIPT_NAME=/cgi-win/%s", base ? base + 1 : c->prog);
    c->t = calloc((size_t)runs * (clients ? clients : 1), sizeof *c->t);
    c->len = calloc((size_t)runs * (clients ? clients : 1), sizeof *c->len);
  }
  if (clients > 0) {
    struct client *ks = calloc((size_t)clients, sizeof *ks);
    pthread_t *th = calloc((size_t)clients, sizeof *th);
    for (int k = 0; k < clients; ++k) {
      ks[k] = (struct client){cs, ncase, runs, warm, k, 0};
      pthread_create(&th[k], NULL, client_main, &ks[k]);
    }
    int failed = 0;
    for (int k = 0; k < clients; ++k) {
      pthread_join(th[k], NULL);
      failed |= ks[k].failed;
    }
    if (failed) return 1;
    int n = runs * clients;
    for (int i = 0; i < ncase; ++i) {
      long longest = 0, shorter = 0;
      for (int j = 0; j < n; ++j) if (cs[i].len[j] > longest) longest = cs[i].len[j];
      for (int j = 0; j < n; ++j) if (cs[i].len[j] * 10 < longest * 9) ++shorter;
      double *t = cs[i].t;
      qsort(t, (size_t)n, sizeof *t, cmp);
      double med = n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
      printf("%s %.0f %.0f %.0f %ld %ld %ld\n", cs[i].label, med, t[0], t[n - 1], cs[i].maxrss, longest, shorter);
    }
    return 0;
  }
  for (int r = -warm; r < runs; ++r)
    for (int i = 0; i < ncase; ++i) {
      char keep[4096];
      if (keepdir && r == runs - 1) snprintf(keep, sizeof keep, "%s/%s.out", keepdir, cs[i].label);
      double us;
      if (run(&cs[i], keepdir && r == runs - 1 ? keep : NULL, &us, NULL) != 0) return 1;
      if (r >= 0) cs[i].t[r] = us;
    }
  for (int i = 0; i < ncase; ++i) {
    double *t = cs[i].t;
    qsort(t, (size_t)runs, sizeof *t, cmp);
    double med = runs % 2 ? t[runs / 2] : (t[runs / 2 - 1] + t[runs / 2]) / 2;
    printf("%s %.0f %.0f %.0f %ld %ld\n", cs[i].label, med, t[0], t[runs - 1], cs[i].maxrss, cs[i].bytes);
  }
  return 0;
usage:
  fprintf(stderr, "usage: benchrun [-n RUNS] [-w WARMUP] [-c CLIENTS] [-o DIR] LABEL CWD PROGRAM QUERY ...\n");
  return 2;
}
