/* The floor every scan of a tree is measured against: each directory read once with readdir,
 * one lstat per entry, real directories entered (links are not followed). Prints the number of
 * entries seen.
 *
 *   velmora_bare_walk DIR
 */
#include <dirent.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

static long Walk(char* path, size_t length) {
  DIR* dir = opendir(path);
  if (dir == NULL) return 0;
  long entries = 0;
  const struct dirent* entry;
  while ((entry = readdir(dir)) != NULL) {
    const char* name = entry->d_name;
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) continue;
    const size_t name_length = strlen(name);
    if (length + 1 + name_length >= PATH_MAX) continue;
    path[length] = '/';
    memcpy(path + length + 1, name, name_length + 1);
    struct stat status;
    if (lstat(path, &status) == 0) {
      ++entries;
      if (S_ISDIR(status.st_mode)) entries += Walk(path, length + 1 + name_length);
    }
    path[length] = '\0';
  }
  closedir(dir);
  return entries;
}

int main(int argc, char** argv) {
  if (argc != 2 || strlen(argv[1]) >= PATH_MAX) {
    fprintf(stderr, "usage: velmora_bare_walk DIR\n");
    return 2;
  }
  char path[PATH_MAX];
  strcpy(path, argv[1]);
  size_t length = strlen(path);
  while (length > 1 && path[length - 1] == '/') path[--length] = '\0';
  printf("%ld entries\n", Walk(path, length));
  return 0;
}
