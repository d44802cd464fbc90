// Prints "<hex>  <name>" for each file named, hashed through a mapping on every core (a small
// file is read and hashed on one); with --check, reads such lines from each list named and prints
// "<name>: OK" or "<name>: FAILED", failing if any file does not match.
use std::io::{Read, Write};

// Files this small are read rather than mapped, which would cost more than their copy.
const READ_BELOW: u64 = 16 * 1024;

fn hash(name: &str) -> String {
    let mut file = std::fs::File::open(name).unwrap_or_else(|error| panic!("{name}: {error}"));
    let size = file.metadata().unwrap_or_else(|error| panic!("{name}: {error}")).len();
    let mut hasher = blake3::Hasher::new();
    if size < READ_BELOW {
        let mut bytes = Vec::with_capacity(size as usize);
        file.read_to_end(&mut bytes).unwrap_or_else(|error| panic!("{name}: {error}"));
        hasher.update(&bytes);
    } else {
        // The bench's files do not change while they are mapped.
        let map = unsafe { memmap2::Mmap::map(&file) }
            .unwrap_or_else(|error| panic!("{name}: {error}"));
        hasher.update_rayon(&map);
    }
    hasher.finalize().to_hex().to_string()
}

fn main() {
    let mut out = std::io::stdout().lock();
    let mut arguments: Vec<String> = std::env::args().skip(1).collect();
    let checking = arguments.first().map(String::as_str) == Some("--check");
    if !checking {
        for name in arguments {
            writeln!(out, "{}  {}", hash(&name), name).unwrap();
        }
        return;
    }
    arguments.remove(0);
    let mut failed = false;
    for list in arguments {
        let text = std::fs::read_to_string(&list).unwrap_or_else(|error| panic!("{list}: {error}"));
        for line in text.lines() {
            let (digest, name) = line.split_once("  ").unwrap_or_else(|| panic!("{list}: {line}"));
            let matches = hash(name) == digest;
            failed |= !matches;
            writeln!(out, "{}: {}", name, if matches { "OK" } else { "FAILED" }).unwrap();
        }
    }
    std::process::exit(i32::from(failed));
}
