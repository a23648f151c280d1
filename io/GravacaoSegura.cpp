#include "io/GravacaoSegura.h"
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace keldo::io {

namespace {
// Temporaries are ".<name>.XXXXXX.tmp~"; a long name is cut so that the
// temporary's name still fits the file system's limit.
constexpr size_t maiorNomeNoTemporario = 200;
constexpr size_t letrasAleatorias = 6;
constexpr const char* finalTemporario = ".tmp~";
constexpr int tentativasDeNome = 100;

struct Destino {
    std::string caminho; // links resolved
    std::string pasta;
    std::string nome;
    bool existe = false;
    struct stat st {};
};

std::string pastaDe(const std::string& caminho) {
    const size_t barra = caminho.rfind('/');
    if (barra == std::string::npos)
        return ".";
    return barra == 0 ? "/" : caminho.substr(0, barra);
}

// Follows the links of the last name of the path, up to the file they name
// (which may not exist yet). 0 or an errno.
int resolver(const std::string& original, Destino& d) {
    d.caminho = original;
    for (int saltos = 0; saltos < 40; ++saltos) {
        if (lstat(d.caminho.c_str(), &d.st) != 0) {
            if (errno != ENOENT)
                return errno;
            d.existe = false;
            break;
        }
        if (!S_ISLNK(d.st.st_mode)) {
            d.existe = true;
            break;
        }
        char ligacao[PATH_MAX];
        const ssize_t n = readlink(d.caminho.c_str(), ligacao, sizeof ligacao - 1);
        if (n < 0)
            return errno;
        const std::string alvo(ligacao, static_cast<size_t>(n));
        d.caminho = alvo.front() == '/' ? alvo : pastaDe(d.caminho) + "/" + alvo;
        if (saltos == 39)
            return ELOOP;
    }
    const size_t barra = d.caminho.rfind('/');
    d.nome = barra == std::string::npos ? d.caminho : d.caminho.substr(barra + 1);
    d.pasta = pastaDe(d.caminho);
    if (d.nome.empty() || (d.existe && S_ISDIR(d.st.st_mode)))
        return EISDIR;
    // Renaming over a file would get round a missing write permission.
    if (d.existe && S_ISREG(d.st.st_mode) && (d.st.st_mode & 0222) == 0)
        return EACCES;
    return 0;
}

std::string prefixoTemporario(const std::string& nome) {
    std::string prefixo(1, '.');
    prefixo.append(nome, 0, maiorNomeNoTemporario);
    prefixo += '.';
    return prefixo;
}

bool ehTemporario(const std::string& entrada, const std::string& prefixo) {
    const size_t fim = std::strlen(finalTemporario);
    return entrada.size() == prefixo.size() + letrasAleatorias + fim &&
           entrada.compare(0, prefixo.size(), prefixo) == 0 &&
           entrada.compare(entrada.size() - fim, fim, finalTemporario) == 0;
}

std::string letras() {
    static constexpr char alfabeto[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device fonte;
    uint64_t valor = (uint64_t(fonte()) << 32) ^ fonte();
    std::string s;
    for (size_t k = 0; k < letrasAleatorias; ++k, valor /= 62)
        s += alfabeto[valor % 62];
    return s;
}

// Removes the temporaries of this name that a program which died mid-save
// left behind: regular files of this user that nobody holds locked (a save
// in progress keeps its temporary locked).
void limparSobras(const Destino& d) {
    DIR* pasta = opendir(d.pasta.c_str());
    if (!pasta)
        return;
    const int dfd = dirfd(pasta);
    const std::string prefixo = prefixoTemporario(d.nome);
    while (const dirent* e = readdir(pasta)) {
        if (!ehTemporario(e->d_name, prefixo))
            continue;
        const int f = openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (f < 0)
            continue;
        struct stat aberto {
        }, agora{};
        if (fstat(f, &aberto) == 0 && S_ISREG(aberto.st_mode) && aberto.st_uid == geteuid() &&
            flock(f, LOCK_EX | LOCK_NB) == 0 &&
            fstatat(dfd, e->d_name, &agora, AT_SYMLINK_NOFOLLOW) == 0 &&
            agora.st_ino == aberto.st_ino && agora.st_dev == aberto.st_dev)
            unlinkat(dfd, e->d_name, 0);
        close(f);
    }
    closedir(pasta);
}

// Creates a new temporary beside the target, never following a planted name.
int criarTemporarioEm(const Destino& d, std::string& nome) {
    const mode_t modo = d.existe ? ((d.st.st_mode & 0777) | S_IRUSR | S_IWUSR) : 0666;
    for (int k = 0; k < tentativasDeNome; ++k) {
        nome = d.pasta + "/" + prefixoTemporario(d.nome) + letras() + finalTemporario;
        const int fd =
            open(nome.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modo);
        if (fd >= 0) {
            flock(fd, LOCK_EX | LOCK_NB);
            return fd;
        }
        if (errno != EEXIST)
            break;
    }
    nome.clear();
    return -1;
}

bool pastaRecusa(int e) {
    return e == EACCES || e == EPERM;
}
} // namespace

GravacaoSegura::GravacaoSegura(const std::string& destino) {
    abrir(destino);
}

GravacaoSegura::~GravacaoSegura() {
    abandonar();
}

bool GravacaoSegura::abrir(const std::string& destino) {
    Destino d;
    if (const int e = resolver(destino, d); e != 0)
        return falhar(e);
    alvo = d.caminho;
    existia = d.existe;
    modoAlvo = d.st.st_mode & 07777;
    donoAlvo = d.st.st_uid;
    grupoAlvo = d.st.st_gid;
    if (d.existe && !S_ISREG(d.st.st_mode)) {
        // A device or a FIFO takes the bytes as they come.
        fd = open(alvo.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        modo = Modo::direto;
        return fd >= 0 || falhar(errno);
    }
    limparSobras(d);
    fd = criarTemporarioEm(d, temporario);
    if (fd >= 0) {
        modo = Modo::temporario;
        return true;
    }
    const int e = errno;
    if (!(d.existe && pastaRecusa(e)))
        return falhar(e);
    // The folder refuses new files, the file itself may be written.
    fd = open(alvo.c_str(), O_WRONLY | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    modo = Modo::noLugar;
    return fd >= 0 || falhar(errno);
}

void GravacaoSegura::reservar(size_t total) {
    if (modo != Modo::noLugar || fd < 0 || erroSistema)
        return;
    struct stat st {};
    if (fstat(fd, &st) != 0 || static_cast<off_t>(total) <= st.st_size)
        return;
    if (fallocate(fd, 0, 0, static_cast<off_t>(total)) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS)
        falhar(errno);
}

bool GravacaoSegura::escrever(const void* dados, size_t n) {
    if (fd < 0 || erroSistema)
        return false;
    const char* p = static_cast<const char*>(dados);
    while (n > 0) {
        const ssize_t k = write(fd, p, n);
        if (k < 0 && errno == EINTR)
            continue;
        if (k < 0)
            return falhar(errno);
        p += k;
        n -= static_cast<size_t>(k);
        escritos += static_cast<size_t>(k);
    }
    return true;
}

bool GravacaoSegura::concluir() {
    if (fd < 0 || erroSistema) {
        abandonar();
        return falhar(erroSistema ? erroSistema : EBADF);
    }
    if (modo == Modo::temporario && existia) {
        // The replacement keeps the owner (where allowed) and the permissions.
        if (fchown(fd, donoAlvo, grupoAlvo) != 0) {
            // Not allowed: the new file is this user's, as a new file would be.
        }
        fchmod(fd, modoAlvo);
    }
    bool ok = true;
    if (modo == Modo::noLugar)
        ok = ftruncate(fd, static_cast<off_t>(escritos)) == 0 || falhar(errno);
    if (ok && modo != Modo::direto)
        ok = fsync(fd) == 0 || falhar(errno);
    const int f = fd;
    fd = -1;
    ok = (close(f) == 0 || falhar(errno)) && ok;
    if (ok && modo == Modo::temporario)
        ok = std::rename(temporario.c_str(), alvo.c_str()) == 0 || falhar(errno);
    if (ok)
        temporario.clear();
    abandonar();
    return ok;
}

int GravacaoSegura::concluirComo(const std::string& outro) {
    if (modo != Modo::temporario || temporario.empty() || erroSistema) {
        abandonar();
        return falhar(erroSistema ? erroSistema : ENOTSUP), erroSistema;
    }
    if (fd >= 0) {
        const int f = fd;
        fd = -1;
        if (fsync(f) != 0 || close(f) != 0) {
            falhar(errno);
            abandonar();
            return erroSistema;
        }
    }
    // A hard link is the one way to take a new name that never replaces one.
    if (link(temporario.c_str(), outro.c_str()) == 0) {
        unlink(temporario.c_str());
        temporario.clear();
        return 0;
    }
    const int e = errno;
    if (e == EEXIST)
        return e;
    temporarioMantido = temporario;
    temporario.clear();
    return falhar(e), e;
}

bool GravacaoSegura::falhar(int e) {
    if (erroSistema == 0)
        erroSistema = e;
    return false;
}

void GravacaoSegura::abandonar() {
    if (fd >= 0)
        close(fd);
    fd = -1;
    if (!temporario.empty())
        unlink(temporario.c_str());
    temporario.clear();
}

int GravacaoSegura::gravar(const std::string& destino, const void* dados, size_t n) {
    GravacaoSegura g(destino);
    g.reservar(n);
    g.escrever(dados, n);
    g.concluir();
    return g.erro();
}

int GravacaoSegura::verificar(const std::string& destino) {
    Destino d;
    if (const int e = resolver(destino, d); e != 0)
        return e;
    if (d.existe && !S_ISREG(d.st.st_mode))
        return access(d.caminho.c_str(), W_OK) == 0 ? 0 : errno;
    std::string nome;
    const int fd = criarTemporarioEm(d, nome);
    if (fd >= 0) {
        close(fd);
        unlink(nome.c_str());
        return 0;
    }
    const int e = errno;
    if (d.existe && pastaRecusa(e))
        return access(d.caminho.c_str(), W_OK) == 0 ? 0 : errno;
    return e;
}

std::string GravacaoSegura::descricao(int erro) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c ? strerror_l(erro, c) : std::strerror(erro);
}

} // namespace keldo::io
